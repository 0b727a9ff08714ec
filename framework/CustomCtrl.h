// Controls that a page makes itself (template kind Custom): the page binds a
// CCustomCtrl-derived member to the template id and the control makes its
// own widget. The strip chart's events travel as notifications with an
// NMCHART payload.
#pragma once

#include <cstdint>

#include "framework/Controls.h"

class CCustomCtrl : public CControl {
protected:
    // The widget of the control, a child of `parent`.
    virtual QWidget* CreateCustomWidget(QWidget* parent) = 0;
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;
};

// Chart notifications, numbered as the chart's events.
constexpr UINT CHN_CURSOR = 1;             // time
constexpr UINT CHN_RANGECHANGED = 3;       // no data
constexpr UINT CHN_MOUSEDOWN = UINT(-605); // button, shift, x, y
constexpr UINT CHN_MOUSEUP = UINT(-607);   // button, shift, x, y

struct NMCHART : NMHDR {
    double time = 0.0;  // OLE date (CHN_CURSOR)
    short button = 0;   // 1 left, 2 right, 4 middle
    short shift = 0;    // 1 Shift, 2 Ctrl, 4 Alt
    std::int32_t x = 0; // control's client coordinates
    std::int32_t y = 0;
};
