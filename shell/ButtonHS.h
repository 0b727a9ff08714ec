// CButtonHS: a push button that also reports a right click to its dialog,
// as notification BNHS_RCLICKED, when the right button goes down.
#pragma once

#include "framework/Controls.h"

constexpr UINT BNHS_RCLICKED = 9;

class CButtonHS : public CButton {
public:
    ~CButtonHS() override = default;
    // A right press on the button (what the mouse does).
    void OnRButtonDown();

protected:
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;
};
