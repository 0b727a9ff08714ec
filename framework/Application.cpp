#include "framework/Application.h"

#include <QKeyEvent>
#include <QWidget>
#include <clocale>

#include "framework/Wnd.h"

FrameworkApplication::FrameworkApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Qt sets the process locale from the environment; numbers stay C.
    std::setlocale(LC_NUMERIC, "C");
    // Dialog units are laid out for a small dialog font.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
}

UINT FrameworkApplication::VirtualKeyOf(const QKeyEvent* event) {
    const int key = event->key();
    switch (key) {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    default:
        return UINT(key & 0xFFFF);
    }
}

int FrameworkApplication::CharOf(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() > 0xFF)
        return 0;
    return text.at(0).unicode();
}

bool FrameworkApplication::Offer(QWidget* target, UINT message, UINT wParam) {
    MSG msg;
    msg.message = message;
    msg.wParam = wParam;
    for (QWidget* w = target; w; w = w->parentWidget()) {
        if (CWnd* wnd = CWnd::FromWidget(w)) {
            if (wnd->PreTranslateMessage(&msg))
                return true;
        }
        if (w->isWindow())
            break;
    }
    return false;
}

bool FrameworkApplication::notify(QObject* receiver, QEvent* event) {
    if (event->type() == QEvent::KeyPress && receiver->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(receiver);
        // Qt's own windows (message boxes, file dialogs) keep their keys.
        if (CWnd::FromWidget(widget->window())) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (Offer(widget, WM_KEYDOWN, VirtualKeyOf(key)))
                return true;
            const int ch = CharOf(key);
            if (ch != 0 && Offer(widget, WM_CHAR, UINT(ch)))
                return true;
        }
    }
    return QApplication::notify(receiver, event);
}
