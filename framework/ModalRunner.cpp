#include "framework/ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <deque>

#include "framework/Dialog.h"

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
    QStringList parts = QString::fromLatin1(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        patterns.replace("*.*", "*");
        out << QString("%1 (%2)").arg(parts[i], patterns);
    }
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
        m_waiting.clear();
    }

    int MessageBox(const std::string& text, const std::string& caption, UINT type) override {
        if (IsEnding())
            return IDCANCEL;
        // A notice asked for while another box is up waits for that one to
        // close, so that one box at a time can be read; its caller goes on.
        if (m_nBoxesUp > 0 && (type & MB_TYPEMASK) == MB_OK) {
            m_waiting.push_back({text, caption, type});
            return IDOK;
        }
        ++m_nBoxesUp;
        const int answer = ShowBox(text, caption, type);
        --m_nBoxesUp;
        if (m_nBoxesUp == 0 && !m_waiting.empty())
            QTimer::singleShot(0, [this] { ShowNextWaiting(); });
        return answer;
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
    struct Waiting {
        std::string text;
        std::string caption;
        UINT type;
    };

    void ShowNextWaiting() {
        if (m_nBoxesUp > 0 || m_waiting.empty() || IsEnding())
            return; // the box up shows the next when it closes
        const Waiting next = m_waiting.front();
        m_waiting.pop_front();
        MessageBox(next.text, next.caption, next.type);
    }

    static int ShowBox(const std::string& text, const std::string& caption, UINT type) {
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
        switch (box.exec()) {
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

    int m_nBoxesUp = 0;
    std::deque<Waiting> m_waiting;
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
