// Drives widgets as a user would, without an event loop: every mouse and key
// event is sent straight through the application (and so through its key
// pre-translation).
#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <vector>

class CWnd;
class CTabCtrl;
class QTabBar;

namespace ui {

// Makes the window that holds `wnd` the active window, so that focus works.
void Activate(CWnd& wnd);

// A mouse press or release at `at` (widget coordinates; centre when omitted).
void Press(QWidget* widget, Qt::MouseButton button, QPoint at = QPoint(-1, -1));
void Release(QWidget* widget, Qt::MouseButton button, QPoint at = QPoint(-1, -1));
void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = QPoint(-1, -1));
void Click(CWnd& wnd);
void MoveMouse(QWidget* widget, QPoint at);

// A key press and release; `text` defaults to what the key types.
void Key(QWidget* target, int key, const QString& text = QString());

QTabBar* TabBar(const CTabCtrl& tab);
void ClickTab(const CTabCtrl& tab, int index);

// Calls `onEvent` for each event of the given types that reaches a watched
// widget, before the widget handles it.
class EventSpy : public QObject {
public:
    EventSpy(std::initializer_list<QEvent::Type> types, std::function<void()> onEvent);
    void Watch(QWidget* widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QEvent::Type> m_types;
    std::function<void()> m_onEvent;
};

} // namespace ui
