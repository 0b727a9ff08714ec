// The print set-up dialog and the print job it chooses: a document name, the
// default printer (if any) preset to landscape, no selection, page-range or
// current-page choices, and "Print to File (PDF)" offered beside the printers.
// The dialog is shown through the modal runner.
#pragma once

#include <memory>
#include <string>

class QPainter;
class QPrinter;

class CPrintDialog {
public:
    explicit CPrintDialog(const std::string& documentName);
    ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK or IDCANCEL, from the modal runner.
    int DoModal();
    // The device the dialog chooses; a test may point it at a PDF file.
    QPrinter& Printer() { return *m_printer; }

    // Starts the document and its page; null when the device cannot begin.
    QPainter* StartDoc();
    // Ends the page and the document.
    void EndDoc();

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
};
