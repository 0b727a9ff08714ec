// The Qt application of the program. It offers every key press to the
// program's windows before Qt handles it: first as WM_KEYDOWN, then (when it
// makes a character) as WM_CHAR, to each window from the one the key goes
// to up to its top-level window. A window that returns TRUE from
// PreTranslateMessage consumes the key. Numbers are formatted in the C
// locale whatever the user's locale is.
#pragma once

#include <QApplication>

#include "framework/WinTypes.h"

class QKeyEvent;

class FrameworkApplication : public QApplication {
public:
    FrameworkApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The virtual key code and character byte (0 for none) of a key event.
    static UINT VirtualKeyOf(const QKeyEvent* event);
    static int CharOf(const QKeyEvent* event);
    // Offers one message up the window chain from `target`.
    static bool Offer(QWidget* target, UINT message, UINT wParam);
};
