#include "tests/support/UiDriver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QWidget>
#include <algorithm>

#include "framework/TabCtrl.h"
#include "framework/Wnd.h"

namespace ui {

namespace {

QPoint Where(QWidget* widget, QPoint at) {
    return at == QPoint(-1, -1) ? widget->rect().center() : at;
}

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at,
               Qt::MouseButtons held) {
    const QPoint p = Where(widget, at);
    QMouseEvent event(type, QPointF(p), QPointF(widget->mapToGlobal(p)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QString TextOf(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QString(QChar(27));
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Backspace:
        return QString(QChar(8));
    default:
        break;
    }
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return QString(QChar(key)).toLower();
    return {};
}

} // namespace

void Activate(CWnd& wnd) {
    QWidget* window = wnd.GetWidget()->window();
    window->show();
    QApplication::setActiveWindow(window);
}

void Press(QWidget* widget, Qt::MouseButton button, QPoint at) {
    SendMouse(widget, QEvent::MouseButtonPress, button, at, button);
}

void Release(QWidget* widget, Qt::MouseButton button, QPoint at) {
    SendMouse(widget, QEvent::MouseButtonRelease, button, at, Qt::NoButton);
}

void Click(QWidget* widget, Qt::MouseButton button, QPoint at) {
    Press(widget, button, at);
    Release(widget, button, at);
}

void Click(CWnd& wnd) {
    Click(wnd.GetWidget());
}

void MoveMouse(QWidget* widget, QPoint at) {
    SendMouse(widget, QEvent::MouseMove, Qt::NoButton, at, Qt::NoButton);
}

void Key(QWidget* target, int key, const QString& text) {
    const QString typed = text.isNull() ? TextOf(key) : text;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
    QApplication::sendEvent(target, &release);
}

QTabBar* TabBar(const CTabCtrl& tab) {
    return tab.GetWidget()->findChild<QTabBar*>();
}

void ClickTab(const CTabCtrl& tab, int index) {
    QTabBar* bar = TabBar(tab);
    Click(bar, Qt::LeftButton, bar->tabRect(index).center());
}

EventSpy::EventSpy(std::initializer_list<QEvent::Type> types, std::function<void()> onEvent)
    : m_types(types), m_onEvent(std::move(onEvent)) {}

bool EventSpy::eventFilter(QObject* watched, QEvent* event) {
    if (std::find(m_types.begin(), m_types.end(), event->type()) != m_types.end())
        m_onEvent();
    return QObject::eventFilter(watched, event);
}

} // namespace ui
