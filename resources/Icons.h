// The program's own artwork, drawn in code: the program icon and the strip
// of four tab images.
#pragma once

#include <QIcon>
#include <QPixmap>

// The registered icon `id` at the usual sizes (see RegisterIcons).
QIcon LoadAppIcon(int id);
// Bitmap resources (the tab strip: four 15 x 15 images on pure green).
QPixmap LoadBitmapResource(int id);
// Registers the icons with the framework.
void RegisterIcons();
