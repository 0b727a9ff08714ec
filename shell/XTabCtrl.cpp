#include "shell/XTabCtrl.h"

#include <QPainter>

#include "framework/Text.h"

void CXTabCtrl::SetSelectedColor(COLORREF color) {
    m_crSelected = color;
    m_bUseSelectedColor = 1;
}

void CXTabCtrl::SetMouseOverColor(COLORREF color) {
    m_crMouseOver = color;
    m_bUseMouseOverColor = 1;
}

void CXTabCtrl::RequestScheduledCall(const char* phone) {
    m_bScheduledCallRequest = 1;
    BoundedCopy(m_szPhoneNumber, sizeof m_szPhoneNumber - 1, phone);
}

void CXTabCtrl::RequestCallNow(const char* phone) {
    m_bCallNowRequest = 1;
    BoundedCopy(m_szPhoneNumber, sizeof m_szPhoneNumber - 1, phone);
}

void CXTabCtrl::SetCallCommands(const CallCommands& commands) {
    for (int k = 0; k < 3; ++k) {
        const CallCommand& from = commands.command[k];
        CallCommand& to = m_szCallCommands.command[k];
        CutCallCommand(from.szCommand, from.szFile, from.cAppend, from.cForm, to.szCommand,
                       to.szFile, to.cAppend, to.cForm);
    }
}

void CXTabCtrl::SetSiteName(const char* name) {
    LineCopy(m_szSiteName, sizeof m_szSiteName - 1, name);
}

void CXTabCtrl::SetLastDumpEvent(const char* event) {
    BoundedCopy(m_szLastDumpEvent, sizeof m_szLastDumpEvent - 1, event);
}

void CXTabCtrl::GetLastDumpEvent(char* out) const {
    BoundedCopy(out, sizeof m_szLastDumpEvent - 1, m_szLastDumpEvent);
}

void CXTabCtrl::SetDumpEventTotal(const char* total) {
    BoundedCopy(m_szDumpEventTotal, sizeof m_szDumpEventTotal - 1, total);
}

void CXTabCtrl::GetDumpEventTotal(char* out) const {
    BoundedCopy(out, sizeof m_szDumpEventTotal - 1, m_szDumpEventTotal);
}

void CXTabCtrl::ShowPage(int index, bool show) {
    if (CWnd* page = GetItemData(index))
        page->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CXTabCtrl::AddTab(CWnd* page, const char* caption, int image) {
    const int n = int(m_arrEnabled.size());
    InsertItem(n, caption, image, page);
    if (page) {
        page->SetWindowPos(m_ptPageOffset.x, m_ptPageOffset.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        page->ShowWindow(n == 0 ? SW_SHOW : SW_HIDE);
    }
    m_arrEnabled.push_back(1);
    m_bAutoPollDisabled = 0;
}

void CXTabCtrl::EnableTab(int index, BOOL enable) {
    if (index < 0 || index >= int(m_arrEnabled.size()))
        return;
    const int flag = enable ? 1 : 0;
    if (m_arrEnabled[std::size_t(index)] == flag)
        return;
    m_arrEnabled[std::size_t(index)] = flag;
    InvalidateItem(index);
}

BOOL CXTabCtrl::IsTabEnabled(int index) const {
    if (index < 0 || index >= int(m_arrEnabled.size()))
        return FALSE;
    return m_arrEnabled[std::size_t(index)] ? TRUE : FALSE;
}

BOOL CXTabCtrl::SelectTab(int index) {
    if (index == GetCurSel())
        return TRUE;
    if (!IsTabEnabled(index))
        return FALSE;
    ShowPage(m_nShownTab, false);
    SetCurSel(index);
    ShowPage(index, true);
    m_nShownTab = index;
    return TRUE;
}

BOOL CXTabCtrl::OnSelchanging() {
    SetTimer(IDT_TAB_SELECT, 50);
    return FALSE;
}

void CXTabCtrl::OnSelchange() {
    const int selected = GetCurSel();
    if (IsTabEnabled(selected)) {
        // Hide the page that is really shown, not the index recorded late.
        if (selected != m_nShownTab)
            ShowPage(m_nShownTab, false);
        ShowPage(selected, true);
        m_nShownTab = selected;
    } else {
        SetCurSel(m_nShownTab);
    }
}

void CXTabCtrl::OnTimer(UINT id) {
    if (id == IDT_TAB_SELECT) {
        KillTimer(IDT_TAB_SELECT);
        m_nCurrentPage = GetCurSel();
        return;
    }
    if (id == IDT_TAB_HOVER) {
        CPoint cursor;
        GetCursorPos(&cursor);
        CRect hover;
        CRect rect;
        if (m_nHoverTab >= 0 && GetItemRect(m_nHoverTab, &rect)) {
            CRect screen;
            GetWindowRect(&screen);
            hover = CRect{rect.left + screen.left, rect.top + screen.top, rect.right + screen.left,
                          rect.bottom + screen.top};
        }
        if (!hover.PtInRect(cursor)) {
            KillTimer(IDT_TAB_HOVER);
            m_bTrackingHover = 0;
            const int old = m_nHoverTab;
            m_nHoverTab = -1;
            InvalidateItem(old);
        }
    }
}

void CXTabCtrl::OnMouseMove(UINT flags, CPoint point) {
    (void)flags;
    if (!m_bUseMouseOverColor)
        return;
    SetTimer(IDT_TAB_HOVER, 10);
    CRect rect;
    if (m_nHoverTab != -1 && GetItemRect(m_nHoverTab, &rect) && !rect.PtInRect(point)) {
        const int old = m_nHoverTab;
        m_nHoverTab = -1;
        InvalidateItem(old);
        // Straight onto a neighbour: it is drawn in the hover colour too.
        const int hit = HitTest(point);
        if (hit >= 0 && IsTabEnabled(hit))
            InvalidateItem(hit);
        return;
    }
    if (!m_bTrackingHover) {
        m_bTrackingHover = 1;
        const int hit = HitTest(point);
        if (hit >= 0 && IsTabEnabled(hit))
            InvalidateItem(hit);
    }
}

COLORREF CXTabCtrl::CaptionColor(int index, bool selected) const {
    if (!IsTabEnabled(index))
        return GetSysColor(COLOR_GRAYTEXT);
    if (selected)
        return m_bUseSelectedColor ? m_crSelected : GetSysColor(COLOR_BTNTEXT);
    if (m_bUseMouseOverColor && index == m_nHoverTab)
        return m_crMouseOver;
    return GetSysColor(COLOR_BTNTEXT);
}

void CXTabCtrl::DrawItem(DRAWITEMSTRUCT* dis) {
    if (dis->itemID < 0 || !dis->hDC)
        return;
    QPainter* dc = dis->hDC;
    const int edge = 2;
    CRect r = dis->rcItem;
    r.top += edge;
    const bool selected = dis->itemID == GetCurSel();
    const std::string caption = GetItemText(dis->itemID).substr(0, 62);
    const int image = GetItemImage(dis->itemID);

    // The tab under the cursor becomes the hover tab.
    CPoint cursor;
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect itemRect;
    if (GetItemRect(dis->itemID, &itemRect) && itemRect.PtInRect(cursor))
        m_nHoverTab = dis->itemID;

    dc->fillRect(QRect(r.left + 2, r.top, r.Width() - 4, r.Height() - 1),
                 ToQColor(GetSysColor(COLOR_BTNFACE)));
    if (GetImageList() && image >= 0) {
        r.left += dc->fontMetrics().horizontalAdvance(' ');
        GetImageList()->Draw(dc, image, CPoint{r.left, r.top + (r.Height() - 15) / 2});
        r.left += GetImageList()->GetImageSize().cx;
    }
    r.top -= edge;
    dc->setPen(ToQColor(CaptionColor(dis->itemID, selected)));
    dc->drawText(QRect(r.left, r.top, r.Width(), r.Height()), Qt::AlignCenter | Qt::TextSingleLine,
                 QString::fromLatin1(caption));
}
