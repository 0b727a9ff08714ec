#include "framework/TextViewer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace {

TextViewer::Opener& Current() {
    static TextViewer::Opener opener;
    return opener;
}

// The desktop's opener picks the viewer the user chose for text files.
std::string OpenWithDesktop(const std::string& path) {
    const QString program = QStandardPaths::findExecutable("xdg-open");
    if (program.isEmpty())
        return "no text viewer was found (xdg-open)";
    if (!QProcess::startDetached(program, QStringList{QString::fromLocal8Bit(path)}))
        return "the text viewer could not be started (" + program.toStdString() + ")";
    return {};
}

} // namespace

std::string TextViewer::Open(const std::string& path) {
    const std::string failure = Current() ? Current()(path) : OpenWithDesktop(path);
    if (failure.empty())
        return {};
    return "Could not open " + path + ": " + failure;
}

void TextViewer::Set(Opener opener) {
    Current() = std::move(opener);
}
