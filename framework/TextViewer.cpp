#include "framework/TextViewer.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace {

class DesktopTextViewer : public TextViewer {
public:
    bool Open(const std::string& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path)));
    }
};

TextViewer* g_viewer = nullptr;

} // namespace

TextViewer& TextViewer::Get() {
    static DesktopTextViewer desktop;
    return g_viewer ? *g_viewer : desktop;
}

void TextViewer::Set(TextViewer* viewer) {
    g_viewer = viewer;
}
