#include "framework/Wnd.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QVariant>

#include "framework/ModalRunner.h"
#include "framework/Timers.h"

namespace {

// What is loaded on first use and takes a few ms (the cursor theme on X11,
// the fonts of list headers not yet shown) is loaded on the first top-level
// window before it maps, not in a timer after.
void WarmUpBeforeMapping(QWidget* window) {
    static bool warm = false;
    if (warm)
        return;
    warm = true;
    window->winId();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    for (QHeaderView* header : window->findChildren<QHeaderView*>()) {
        QFont font = header->font();
        for (bool bold : {false, true}) {
            font.setBold(bold);
            QFontMetrics(font).size(0, QStringLiteral("Mg"));
        }
    }
}

const char kWndProperty[] = "trelvoranWnd";
} // namespace

CWnd::~CWnd() {
    TimerQueue::Instance().KillAll(this);
    if (QWidget* w = m_widget.data()) {
        w->setProperty(kWndProperty, QVariant());
        m_widget.clear();
        delete w;
    }
}

void CWnd::Attach(QWidget* widget, int id, CWnd* owner) {
    m_widget = widget;
    m_id = id;
    m_owner = owner;
    widget->setProperty(kWndProperty, QVariant::fromValue<quintptr>(quintptr(this)));
}

CWnd* CWnd::FromWidget(const QWidget* widget) {
    if (!widget)
        return nullptr;
    const QVariant v = widget->property(kWndProperty);
    return v.isValid() ? reinterpret_cast<CWnd*>(v.value<quintptr>()) : nullptr;
}

CWnd* CWnd::FromWidgetOrAncestor(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (CWnd* wnd = FromWidget(w))
            return wnd;
    }
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const {
    (void)id;
    return nullptr;
}

void CWnd::SetText(const std::string& text) {
    if (QWidget* w = GetWidget())
        w->setWindowTitle(QString::fromLatin1(text));
}

std::string CWnd::GetText() const {
    if (QWidget* w = GetWidget())
        return w->windowTitle().toLatin1().toStdString();
    return {};
}

void CWnd::ShowWindow(int cmd) {
    QWidget* w = GetWidget();
    if (!w)
        return;
    if (cmd != SW_HIDE && w->isWindow())
        WarmUpBeforeMapping(w);
    if (cmd == SW_HIDE)
        w->hide();
    else if (cmd == SW_SHOWMAXIMIZED)
        w->showMaximized();
    else
        w->show();
}

bool CWnd::IsWindowVisible() const {
    QWidget* w = GetWidget();
    return w && !w->isHidden();
}

void CWnd::EnableWindow(BOOL enable) {
    if (QWidget* w = GetWidget())
        w->setEnabled(enable != FALSE);
}

BOOL CWnd::IsWindowEnabled() const {
    QWidget* w = GetWidget();
    return w && w->isEnabled() ? TRUE : FALSE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    QWidget* w = GetWidget();
    if (!w)
        return;
    w->setGeometry(x, y, std::max(0, width), std::max(0, height));
    if (repaint)
        w->update();
}

void CWnd::SetWindowPos(int x, int y, int cx, int cy, UINT flags) {
    QWidget* w = GetWidget();
    if (!w)
        return;
    if (!(flags & SWP_NOMOVE))
        w->move(x, y);
    if (!(flags & SWP_NOSIZE))
        w->resize(std::max(0, cx), std::max(0, cy));
    if (flags & SWP_FRAMECHANGED)
        w->update();
}

CRect CWnd::GetRectInParent() const {
    QWidget* w = GetWidget();
    if (!w)
        return {};
    const QRect g = w->geometry();
    return CRect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

void CWnd::GetWindowRect(CRect* rect) const {
    QWidget* w = GetWidget();
    if (!w) {
        *rect = {};
        return;
    }
    const QPoint tl = w->mapToGlobal(QPoint(0, 0));
    *rect = CRect{tl.x(), tl.y(), tl.x() + w->width(), tl.y() + w->height()};
}

void CWnd::GetClientRect(CRect* rect) const {
    QWidget* w = GetWidget();
    *rect = w ? CRect{0, 0, w->width(), w->height()} : CRect{};
}

void CWnd::ScreenToClient(CRect* rect) const {
    QWidget* w = GetWidget();
    if (!w)
        return;
    const QPoint tl = w->mapFromGlobal(QPoint(rect->left, rect->top));
    const int width = rect->Width();
    const int height = rect->Height();
    *rect = CRect{tl.x(), tl.y(), tl.x() + width, tl.y() + height};
}

void CWnd::ScreenToClient(CPoint* point) const {
    if (QWidget* w = GetWidget()) {
        const QPoint p = w->mapFromGlobal(QPoint(point->x, point->y));
        *point = CPoint{p.x(), p.y()};
    }
}

void CWnd::Invalidate(BOOL erase) {
    (void)erase;
    if (QWidget* w = GetWidget())
        w->update();
}

void CWnd::SetRedraw(BOOL redraw) {
    if (QWidget* w = GetWidget())
        w->setUpdatesEnabled(redraw != FALSE);
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (QWidget* w = GetWidget())
        w->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        // No window is active (a headless run): take the focus widget that
        // the active or topmost visible window would give the keyboard.
        QWidget* window = QApplication::activeWindow();
        if (!window) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible()) {
                    window = top;
                    break;
                }
            }
        }
        focus = window ? window->focusWidget() : nullptr;
    }
    return FromWidgetOrAncestor(focus);
}

bool CWnd::HasFocus() const {
    CWnd* focus = GetFocus();
    return focus == this;
}

UINT CWnd::SetTimer(UINT id, UINT elapseMs) {
    TimerQueue::Instance().Set(this, id, elapseMs);
    return id;
}

BOOL CWnd::KillTimer(UINT id) {
    return TimerQueue::Instance().Kill(this, id) ? TRUE : FALSE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return ModalRunner::Get().MessageBox(text ? text : "", caption ? caption : "", type);
}

void CWnd::DestroyWindow() {
    if (!GetWidget())
        return;
    OnDestroy();
    TimerQueue::Instance().KillAll(this);
    if (QWidget* w = m_widget.data()) {
        w->setProperty(kWndProperty, QVariant());
        m_widget.clear();
        delete w; // never from within the window's own event handler
    }
}

void CWnd::NotifyParent(UINT code) {
    if (m_owner)
        m_owner->OnCommand(UINT(m_id), code);
}

BOOL CWnd::NotifyParent(UINT code, NMHDR& payload) {
    payload.idFrom = m_id;
    payload.code = code;
    return m_owner ? m_owner->OnNotify(UINT(m_id), code, &payload) : FALSE;
}

CWaitCursor::CWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    QApplication::restoreOverrideCursor();
}
