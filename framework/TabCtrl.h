// CTabCtrl: a row of owner-drawn tabs above a client area in which the
// owner places page windows. Selection changes by the user are reported to
// the control itself (OnSelchanging before, OnSelchange after); changes by
// the program (SetCurSel) report nothing.
#pragma once

#include <QPointer>
#include <QTabBar>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Gdi.h"

class QPainter;

constexpr UINT ODS_SELECTED = 0x0001;

struct DRAWITEMSTRUCT {
    int itemID = -1;
    UINT itemState = 0;
    QPainter* hDC = nullptr;
    CRect rcItem;
};

class CTabCtrl : public CControl {
public:
    int InsertItem(int index, const char* caption, int image, CWnd* data);
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);                       // no notifications; returns the previous one
    bool GetItemRect(int index, CRect* rect) const; // client coordinates
    int HitTest(CPoint point) const;                // client coordinates; -1 none
    std::string GetItemText(int index) const;
    int GetItemImage(int index) const;
    CWnd* GetItemData(int index) const;
    void SetImageList(CImageList* images) { m_pImageList = images; }
    CImageList* GetImageList() const { return m_pImageList; }
    void InvalidateItem(int index);

    // Height of the row of tabs; the client area for pages lies below it.
    int GetTabRowHeight() const;

    // The user asks for tab `index` (a click, a key).
    void UserSelect(int index);

    // Reflected notifications and owner drawing.
    virtual BOOL OnSelchanging() { return FALSE; } // TRUE refuses the change
    virtual void OnSelchange() {}
    virtual void DrawItem(DRAWITEMSTRUCT* dis);
    virtual void OnMouseMove(UINT flags, CPoint point) {
        (void)flags;
        (void)point;
    }

protected:
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;

private:
    struct Item {
        std::string caption;
        int image;
        CWnd* data;
    };
    std::vector<Item> m_items;
    CImageList* m_pImageList = nullptr;
    QPointer<QTabBar> m_pBar; // owned by the control's widget
};
