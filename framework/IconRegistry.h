// Icons by resource id: the program registers how to draw each at start-up;
// a template's icon control looks it up here.
#pragma once

#include <QPixmap>

using IconPainter = QPixmap (*)(int size);

void RegisterIcon(int id, IconPainter painter);
// The icon drawn at `size` pixels; a null pixmap when `id` is not registered.
QPixmap RegisteredIcon(int id, int size = 32);
