#include "framework/Gdi.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QPainter>
#include <QPalette>

namespace {
bool g_cursorPinned = false;
CPoint g_cursor;

COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}
} // namespace

COLORREF GetSysColor(SysColor which) {
    const QPalette pal = QApplication::palette();
    switch (which) {
    case COLOR_BTNFACE:
        return FromQColor(pal.color(QPalette::Button));
    case COLOR_BTNTEXT:
        return FromQColor(pal.color(QPalette::ButtonText));
    case COLOR_GRAYTEXT:
        return FromQColor(pal.color(QPalette::Disabled, QPalette::ButtonText));
    case COLOR_WINDOW:
        return FromQColor(pal.color(QPalette::Window));
    case COLOR_WINDOWTEXT:
        return FromQColor(pal.color(QPalette::WindowText));
    }
    return 0;
}

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

void GetCursorPos(CPoint* point) {
    if (g_cursorPinned) {
        *point = g_cursor;
        return;
    }
    const QPoint p = QCursor::pos();
    *point = CPoint{p.x(), p.y()};
}

void SetCursorPosForTest(const CPoint* point) {
    g_cursorPinned = point != nullptr;
    if (point)
        g_cursor = *point;
}

bool CImageList::Create(const QPixmap& strip, int imageWidth, COLORREF mask) {
    m_images.clear();
    if (strip.isNull() || imageWidth <= 0)
        return false;
    m_size = CSize{imageWidth, strip.height()};
    for (int x = 0; x + imageWidth <= strip.width(); x += imageWidth) {
        QPixmap image = strip.copy(x, 0, imageWidth, strip.height());
        image.setMask(image.createMaskFromColor(ToQColor(mask), Qt::MaskInColor));
        m_images.push_back(image);
    }
    return true;
}

void CImageList::Draw(QPainter* painter, int index, CPoint at) const {
    if (const QPixmap* image = Image(index))
        painter->drawPixmap(at.x, at.y, *image);
}

const QPixmap* CImageList::Image(int index) const {
    if (index < 0 || index >= int(m_images.size()))
        return nullptr;
    return &m_images[std::size_t(index)];
}
