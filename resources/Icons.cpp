#include "resources/Icons.h"

#include <QPainter>
#include <QPainterPath>

#include "framework/IconRegistry.h"

#include "resources/ResourceShell.h"

namespace {

// A rain drop over a water line: the program icon.
QPixmap DrawProgramIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 140));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    QPainterPath drop;
    drop.moveTo(16, 4);
    drop.cubicTo(22, 12, 24, 16, 24, 19);
    drop.cubicTo(24, 24, 20, 27, 16, 27);
    drop.cubicTo(12, 27, 8, 24, 8, 19);
    drop.cubicTo(8, 16, 10, 12, 16, 4);
    p.setBrush(QColor(120, 200, 255));
    p.drawPath(drop);
    p.setPen(QPen(QColor(255, 255, 255), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave;
    wave.moveTo(3, 29);
    wave.cubicTo(8, 26, 12, 32, 16, 29);
    wave.cubicTo(20, 26, 24, 32, 29, 29);
    p.drawPath(wave);
    return pixmap;
}

void DrawTabImage(QPainter& p, int index) {
    p.save();
    p.translate(index * 15, 0);
    switch (index) {
    case 0: // Communicate: a plug with a cable
        p.fillRect(2, 5, 6, 5, QColor(40, 40, 40));
        p.fillRect(8, 6, 4, 1, QColor(160, 120, 0));
        p.fillRect(8, 8, 4, 1, QColor(160, 120, 0));
        p.fillRect(0, 7, 2, 1, QColor(40, 40, 40));
        break;
    case 1: // View Plot: a small chart
        p.fillRect(1, 1, 1, 13, QColor(0, 0, 0));
        p.fillRect(1, 13, 13, 1, QColor(0, 0, 0));
        p.setPen(QPen(QColor(200, 0, 0), 1));
        p.drawPolyline(QPolygon({QPoint(2, 11), QPoint(5, 7), QPoint(8, 9), QPoint(13, 2)}));
        break;
    case 2: // Schedule: a clock
        p.setPen(QPen(QColor(0, 0, 128), 1));
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(1, 1, 12, 12);
        p.drawLine(7, 7, 7, 3);
        p.drawLine(7, 7, 10, 8);
        break;
    default: // Firmware Upgrade: a chip with an arrow
        p.fillRect(3, 4, 9, 8, QColor(30, 30, 30));
        for (int x = 4; x < 12; x += 2) {
            p.fillRect(x, 2, 1, 2, QColor(128, 128, 128));
            p.fillRect(x, 12, 1, 2, QColor(128, 128, 128));
        }
        p.fillRect(7, 6, 1, 4, QColor(255, 220, 0));
        p.fillRect(6, 7, 3, 1, QColor(255, 220, 0));
        break;
    }
    p.restore();
}

} // namespace

void RegisterIcons() {
    RegisterIcon(IDR_MAINFRAME, &DrawProgramIcon);
}

QIcon LoadAppIcon(int id) {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(RegisteredIcon(id, size));
    return icon;
}

QPixmap LoadBitmapResource(int id) {
    if (id != IDB_TABS)
        return QPixmap();
    QPixmap strip(60, 15);
    strip.fill(QColor(0, 255, 0));
    QPainter p(&strip);
    for (int i = 0; i < 4; ++i)
        DrawTabImage(p, i);
    return strip;
}
