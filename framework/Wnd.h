// CWnd: a window of the program, wrapping one Qt widget. It carries the
// window's control id, its timers, and the overridable handlers that the
// framework calls (timer, size, close, destroy, key pre-translation, control
// notifications).
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "framework/Geometry.h"
#include "framework/WinTypes.h"

// SetWindowPos flags.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;

// The data a notification carries, like WM_NOTIFY's header: each control
// kind that reports more than (id, code) derives its own payload from it.
struct NMHDR {
    int idFrom = 0;
    UINT code = 0;
    virtual ~NMHDR() = default;
};

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The Qt widget; null before the window is created and after it is gone.
    QWidget* GetWidget() const { return m_widget.data(); }
    bool IsCreated() const { return !m_widget.isNull(); }
    static CWnd* FromWidget(const QWidget* widget);
    // The nearest window of the program at or above `widget`.
    static CWnd* FromWidgetOrAncestor(const QWidget* widget);

    int GetDlgCtrlID() const { return m_id; }
    // The window that receives this window's notifications (its dialog).
    CWnd* GetParent() const { return m_owner; }
    virtual CWnd* GetDlgItem(int id) const;

    void SetWindowText(const char* text) { SetText(std::string(text ? text : "")); }
    void SetWindowText(const std::string& text) { SetText(text); }
    std::string GetWindowText() const { return GetText(); }
    int GetWindowTextLength() const { return int(GetWindowText().size()); }

    void ShowWindow(int cmd);
    bool IsWindowVisible() const;
    void EnableWindow(BOOL enable);
    BOOL IsWindowEnabled() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void SetWindowPos(int x, int y, int cx, int cy, UINT flags);
    // Position and size in the parent widget's client coordinates.
    CRect GetRectInParent() const;
    void GetWindowRect(CRect* rect) const; // screen coordinates
    void GetClientRect(CRect* rect) const;
    void ScreenToClient(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void Invalidate(BOOL erase = TRUE);
    void SetRedraw(BOOL redraw);

    CWnd* SetFocus();
    static CWnd* GetFocus();
    bool HasFocus() const;

    UINT SetTimer(UINT id, UINT elapseMs);
    BOOL KillTimer(UINT id);

    int MessageBox(const char* text, const char* caption, UINT type = MB_OK);

    // Destroys the widget after calling OnDestroy; timers die with it.
    void DestroyWindow();

    // Handlers the framework calls.
    virtual void OnTimer(UINT id) { (void)id; }
    virtual BOOL PreTranslateMessage(MSG* msg) {
        (void)msg;
        return FALSE;
    }
    // A control notification (id, code) from a child control.
    virtual BOOL OnCommand(UINT id, UINT code) {
        (void)id;
        (void)code;
        return FALSE;
    }
    // A notification with a payload (list rows, date pickers, the chart's mouse
    // events); `payload->idFrom` and `payload->code` are filled in.
    virtual BOOL OnNotify(UINT id, UINT code, NMHDR* payload) {
        (void)id;
        (void)code;
        (void)payload;
        return FALSE;
    }
    virtual void OnSize(UINT type, int cx, int cy) {
        (void)type;
        (void)cx;
        (void)cy;
    }
    // The user asks to close the window (close box, Alt+F4).
    virtual void OnClose() {}
    virtual void OnDestroy() {}

    // Sends notification `code` from this control to its owner, synchronously.
    void NotifyParent(UINT code);
    // Sends notification `code` with its payload to the owner, synchronously;
    // returns what the owner's handler returned.
    BOOL NotifyParent(UINT code, NMHDR& payload);

protected:
    // The window's text as bytes: a caption, a label, an edit's content.
    virtual void SetText(const std::string& text);
    virtual std::string GetText() const;
    // Takes the widget into this window: registers it and sets id and owner.
    void Attach(QWidget* widget, int id, CWnd* owner);

private:
    QPointer<QWidget> m_widget;
    int m_id = 0;
    CWnd* m_owner = nullptr;
};

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
