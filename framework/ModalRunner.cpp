#include "framework/ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "framework/Dialog.h"
#include "framework/FileFilter.h"

namespace {

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// "Text|*.txt;*.log|All Files (*.*)|*.*||" to Qt's "Text (*.txt *.log);;All Files (*)".
QString QtFilter(const std::string& filter) {
    QStringList out;
    for (const std::string& entry : FileFilterEntries(filter))
        out << QString::fromLatin1(entry);
    return out.join(";;");
}

class QtModalRunner : public ModalRunner {
public:
    void CloseAll(const CDialog* keep) override {
        const QWidget* kept = keep ? keep->GetWidget() : nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(window);
            if (!dialog || dialog == kept || !dialog->isModal() || !dialog->isVisible())
                continue;
            if (qobject_cast<QMessageBox*>(dialog))
                dialog->done(QMessageBox::Cancel);
            else if (qobject_cast<QFileDialog*>(dialog))
                dialog->done(QDialog::Rejected);
            else
                dialog->done(IDCANCEL);
        }
    }

    int MessageBox(const std::string& text, const std::string& caption, UINT type) override {
        if (IsEnding())
            return IDCANCEL;
        // One box at a time: a box asked for while another is up (a timer's
        // warning under a start-up box) opens when that one has closed, and
        // its caller waits for its own answer.
        while (!m_boxesUp.empty() && !IsEnding()) {
            QEventLoop wait;
            QObject::connect(m_boxesUp.back(), &QDialog::finished, &wait, &QEventLoop::quit);
            wait.exec();
        }
        if (IsEnding())
            return IDCANCEL;
        return ShowBox(text, caption, type);
    }

    int RunDialog(CDialog& dialog) override {
        auto* widget = qobject_cast<QDialog*>(dialog.GetWidget());
        if (!widget || dialog.IsEnded())
            return dialog.GetResult();
        if (IsEnding())
            return IDCANCEL;
        return widget->exec();
    }

    bool FileDialog(FileDialogRequest& request) override {
        if (IsEnding())
            return false;
        QFileDialog dialog(QApplication::activeWindow());
        if (!request.title.empty())
            dialog.setWindowTitle(QString::fromLatin1(request.title));
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setNameFilter(QtFilter(request.filter));
        if (!request.defaultExt.empty())
            dialog.setDefaultSuffix(QString::fromLatin1(request.defaultExt));
        if (!request.initialFolder.empty())
            dialog.setDirectory(QString::fromLocal8Bit(request.initialFolder));
        if (!request.fileName.empty())
            dialog.selectFile(QString::fromLocal8Bit(request.fileName));
        if (!request.overwritePrompt)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        request.fileName = dialog.selectedFiles().front().toLocal8Bit().toStdString();
        return true;
    }

private:
    int ShowBox(const std::string& text, const std::string& caption, UINT type) {
        QMessageBox box(IconOf(type), QString::fromLatin1(caption), QString::fromLatin1(text),
                        QMessageBox::NoButton, QApplication::activeWindow());
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MB_YESNOCANCEL:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        m_boxesUp.push_back(&box);
        // Taken off when it closes, not when exec returns: a box opened
        // inside its loop holds that return back.
        QObject::connect(&box, &QDialog::finished, [this, &box] { Forget(&box); });
        const int shown = box.exec();
        Forget(&box);
        switch (shown) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDCANCEL;
        }
    }

    void Forget(const QDialog* box) {
        m_boxesUp.erase(std::remove(m_boxesUp.begin(), m_boxesUp.end(), box), m_boxesUp.end());
    }

    std::vector<QDialog*> m_boxesUp; // message boxes shown and not yet closed
};

QtModalRunner g_qtRunner;
ModalRunner* g_runner = nullptr;

} // namespace

ModalRunner& ModalRunner::Get() {
    return g_runner ? *g_runner : g_qtRunner;
}

void ModalRunner::Set(ModalRunner* runner) {
    g_runner = runner;
}

int AfxMessageBox(const char* text, UINT type) {
    return ModalRunner::Get().MessageBox(text ? text : "", "Trelvoran", type);
}
