// The little drawing vocabulary that owner-drawn controls use: system
// colours, the cursor position, image lists.
#pragma once

#include <QPixmap>
#include <vector>

#include "framework/Geometry.h"
#include "framework/WinTypes.h"

class QPainter;

enum SysColor { COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_GRAYTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT };

COLORREF GetSysColor(SysColor which);
QColor ToQColor(COLORREF c);

// The mouse position on the screen. Tests may pin it.
void GetCursorPos(CPoint* point);
void SetCursorPosForTest(const CPoint* point); // null: the real cursor again

// Images of one size cut from a strip, with a colour that is transparent.
class CImageList {
public:
    bool Create(const QPixmap& strip, int imageWidth, COLORREF mask);
    int GetImageCount() const { return int(m_images.size()); }
    CSize GetImageSize() const { return m_size; }
    void Draw(QPainter* painter, int index, CPoint at) const;
    const QPixmap* Image(int index) const;

private:
    std::vector<QPixmap> m_images;
    CSize m_size;
};
