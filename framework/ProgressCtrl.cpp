#include "framework/ProgressCtrl.h"

#include <QProgressBar>
#include <algorithm>

QWidget* CProgressCtrl::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    (void)item;
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    bar->setRange(m_nLower, m_nUpper);
    bar->setValue(m_nPos);
    return bar;
}

void CProgressCtrl::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = std::max(lower, upper);
    m_nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
    if (auto* bar = qobject_cast<QProgressBar*>(GetWidget())) {
        bar->setRange(m_nLower, m_nUpper);
        bar->setValue(m_nPos);
    }
}

int CProgressCtrl::SetPos(int pos) {
    const int previous = m_nPos;
    m_nPos = std::clamp(pos, m_nLower, m_nUpper);
    if (auto* bar = qobject_cast<QProgressBar*>(GetWidget()))
        bar->setValue(m_nPos);
    return previous;
}

int CProgressCtrl::GetPos() const {
    return m_nPos;
}
