// CListCtrl: a list view in report view: columns with headings, rows of
// texts, optional check boxes, grid lines and full-row selection, and row
// colours asked of the owner while a row is painted (custom draw). Every
// notification reaches the owner through NotifyParent with a payload.
#pragma once

#include <string>

#include "framework/Controls.h"

class QTableWidget;

// Notification codes.
constexpr UINT NM_CLICK = UINT(-2);
constexpr UINT NM_DBLCLK = UINT(-3);
constexpr UINT NM_CUSTOMDRAW = UINT(-12);
constexpr UINT LVN_ITEMCHANGED = UINT(-101);
constexpr UINT HDN_ENDTRACK = UINT(-301);

// Extended styles.
constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_CHECKBOXES = 0x0004;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

// Item states and GetNextItem flags.
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVIF_STATE = 0x0008;
constexpr int LVCFMT_LEFT = 0;

// Custom-draw stages and results.
constexpr DWORD CDDS_PREPAINT = 0x0001;
constexpr DWORD CDDS_ITEM = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr int CDRF_DODEFAULT = 0x0000;
constexpr int CDRF_NOTIFYITEMDRAW = 0x0020;

// A click or double click: the row and column under the mouse (-1 none).
struct NMITEMACTIVATE : NMHDR {
    int iItem = -1;
    int iSubItem = -1;
    int result = 0;
};

// A change of a row's state by the user: the check box (state image 1
// unchecked, 2 checked, in the bits of LVIS_STATEIMAGEMASK).
struct NMLISTVIEW : NMHDR {
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
};

// The end of a column divider drag: the column and its new width.
struct NMHEADER : NMHDR {
    int iItem = -1;
    int cxy = 0;
    int result = 0;
};

// Painting: the owner may set the colours of row dwItemSpec.
struct NMLVCUSTOMDRAW : NMHDR {
    DWORD dwDrawStage = 0;
    int dwItemSpec = 0;
    int iSubItem = 0;
    COLORREF clrText = RGB(0, 0, 0);
    COLORREF clrTextBk = RGB(255, 255, 255);
    int result = CDRF_DODEFAULT;
};

class CListCtrl : public CControl {
public:
    int InsertColumn(int col, const char* heading, int format = LVCFMT_LEFT, int width = -1);
    int GetColumnCount() const;
    int GetColumnWidth(int col) const;
    BOOL SetColumnWidth(int col, int width);
    // The width of `text` in the list's font, without the cell's margins.
    int GetStringWidth(const char* text) const;

    DWORD SetExtendedStyle(DWORD style); // returns the previous style
    DWORD GetExtendedStyle() const { return m_dwExStyle; }

    int InsertItem(int row, const char* text); // the new row's index, -1 on failure
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int row, int col, const char* text);
    std::string GetItemText(int row, int col) const;

    // Check boxes; setting one from the program notifies nothing.
    BOOL SetCheck(int row, BOOL check = TRUE);
    BOOL GetCheck(int row) const;

    // Selection: only LVIS_SELECTED is kept.
    BOOL SetItemState(int row, UINT state, UINT mask);
    UINT GetItemState(int row, UINT mask) const;
    // The next row after `start` (-1: from the top) with `flags`; -1 none.
    int GetNextItem(int start, UINT flags) const;

    // Repaints rows first to last.
    BOOL RedrawItems(int first, int last);
    // The width inside the frame and scroll bars.
    void GetClientRect(CRect* rect) const;

    // The colours row `row` is painted in, as the owner's custom draw
    // answers (black on white when it leaves them).
    void GetRowColors(int row, COLORREF* text, COLORREF* background);

    // The user's actions, as the mouse and keyboard make them.
    void UserClick(int row, int col = 0);
    void UserDoubleClick(int row, int col = 0);
    void UserToggleCheck(int row);
    void UserResizeColumn(int col, int width);

    // From the view: a check box changed by the user; a divider drag ended.
    void OnUserCheckChanged(int row, bool checked);
    void OnUserEndTrack(int col);

protected:
    QWidget* CreateControlWidget(const TemplateItem& item, QWidget* parent) override;

private:
    QTableWidget* Table() const;
    void ApplyCheckable(int row);

    DWORD m_dwExStyle = 0;
    bool m_bProgramChange = false;
};
