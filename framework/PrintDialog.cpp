#include "framework/PrintDialog.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "framework/ModalRunner.h"

CPrintDialog::CPrintDialog(const std::string& documentName) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    const bool hasDefault = !defaultPrinter.isNull();
    m_printer = hasDefault ? std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution)
                           : std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!hasDefault)
        m_printer->setOutputFormat(QPrinter::PdfFormat); // the only choice there is
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printer->setDocName(QString::fromLatin1(documentName));
}

CPrintDialog::~CPrintDialog() {
    EndDoc();
}

int CPrintDialog::DoModal() {
    return ModalRunner::Get().PrintDialog(*this);
}

QPainter* CPrintDialog::StartDoc() {
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        return nullptr;
    }
    return m_painter.get();
}

void CPrintDialog::EndDoc() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
}

int ModalRunner::PrintDialog(CPrintDialog& dialog) {
    if (IsEnding())
        return IDCANCEL;
    QPrintDialog box(&dialog.Printer(), QApplication::activeWindow());
    box.setOption(QAbstractPrintDialog::PrintSelection, false);
    box.setOption(QAbstractPrintDialog::PrintPageRange, false);
    box.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    box.setOption(QAbstractPrintDialog::PrintToFile, true);
    return box.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
