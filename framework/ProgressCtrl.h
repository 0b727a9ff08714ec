// CProgressCtrl: a smooth progress bar made from a template item.
#pragma once

#include "framework/Controls.h"

class CProgressCtrl : public CControl {
public:
    void SetRange(int lower, int upper);
    // Positions outside the range are taken as its nearest end; returns the previous position.
    int SetPos(int pos);
    int GetPos() const;

protected:
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;

private:
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
