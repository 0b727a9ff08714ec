#include "framework/Application.h"

#include <QKeyEvent>
#include <QStyle>
#include <QWidget>
#include <clocale>

#include "framework/DialogStyle.h"
#include "framework/Wnd.h"

FrameworkApplication::FrameworkApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Qt sets the process locale from the environment; numbers stay C.
    std::setlocale(LC_NUMERIC, "C");
    // Dialog units are laid out for the original platform's 8-point dialog
    // font; this sans font has its metrics (from scripts/setup's packages).
    QFont dialogFont("Liberation Sans");
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    setStyle(new DialogStyle(style()->name()));
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
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return UINT(0x70 + (key - Qt::Key_F1)); // VK_F1..VK_F24
    // Qt's other special keys are 0x01000000 plus a small number, which
    // would read as some other key's code; give them theirs, or none.
    static const struct {
        int key;
        UINT vk;
    } kSpecial[] = {
        {Qt::Key_Shift, 0x10},    {Qt::Key_Control, 0x11},  {Qt::Key_Alt, 0x12},
        {Qt::Key_Pause, 0x13},    {Qt::Key_CapsLock, 0x14}, {Qt::Key_PageUp, 0x21},
        {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},      {Qt::Key_Home, 0x24},
        {Qt::Key_Left, 0x25},     {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},
        {Qt::Key_Down, 0x28},     {Qt::Key_Print, 0x2C},    {Qt::Key_Insert, 0x2D},
        {Qt::Key_Delete, 0x2E},   {Qt::Key_NumLock, 0x90},  {Qt::Key_ScrollLock, 0x91},
    };
    if (key >= Qt::Key_Escape) {
        for (const auto& special : kSpecial) {
            if (special.key == key)
                return special.vk;
        }
        return 0;
    }
    return UINT(key & 0xFFFF);
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
    case Qt::Key_Delete:
        return 0; // X11 gives it the text DEL; it types nothing
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
