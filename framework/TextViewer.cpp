#include "framework/TextViewer.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace {
TextViewer::Opener& Current() {
    static TextViewer::Opener opener;
    return opener;
}
} // namespace

bool TextViewer::Open(const std::string& path) {
    if (Current())
        return Current()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path)));
}

void TextViewer::Set(Opener opener) {
    Current() = std::move(opener);
}
