#include "shell/ButtonHS.h"

#include <QMouseEvent>
#include <QObject>
#include <QWidget>

namespace {

// Sends the right press to the button before Qt sees it.
class RightPressFilter : public QObject {
public:
    explicit RightPressFilter(CButtonHS* button) : QObject(nullptr), m_button(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            m_button->OnRButtonDown();
        return QObject::eventFilter(watched, event);
    }

private:
    CButtonHS* m_button;
};

} // namespace

QWidget* CButtonHS::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    QWidget* widget = CButton::CreateControlWidget(item, parent);
    auto* filter = new RightPressFilter(this);
    filter->setParent(widget);
    widget->installEventFilter(filter);
    return widget;
}

void CButtonHS::OnRButtonDown() {
    // The dialog's handler runs to its end (a modal dialog included) before
    // the press goes on to the button.
    NotifyParent(BNHS_RCLICKED);
}
