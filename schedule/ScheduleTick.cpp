// The Schedule page's one-second tick, the minute check of due sites, the
// next-connection times, the call queue and "Call Now".
#include <cstdlib>

#include "framework/Text.h"
#include "schedule/DialogSchedule.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/SiteFile.h"
#include "shell/XTabCtrl.h"

void CDialogSchedule::OnTick() {
    KillTimer(IDT_SCHEDULE_TICK);
    if (m_bFirstTick) {
        m_bFirstTick = 0;
        if (m_pTabCtrl)
            m_pTabCtrl->SetAutoPollDisabled(IsAutoPollBoxTicked() ? 1 : 0);
    }
    const LocalTime now = Clock::LocalNow();
    m_stClock.SetWindowText(Format("%02d:%02d:%02d", now.hour, now.minute, now.second));
    if (now.minute != m_nLastMinute) {
        m_nLastMinute = now.minute;
        CheckDueSites();
    }
    if (m_bLoaded && m_pTabCtrl) {
        if (m_nCallingSite == 0)
            HandOffNextSite();
        else
            HandleCallResult();
    }
    SetTimer(IDT_SCHEDULE_TICK, 1000);
}

void CDialogSchedule::CheckDueSites() {
    if (!m_bLoaded)
        return;
    // Every site of one check is compared with the same time.
    const SiteTime now = SiteTimeFromLocal(Clock::LocalNow());
    const bool disabled = IsAutoPollBoxTicked();
    for (int site = 1; site <= kSiteCount; ++site) {
        if (!m_bEnabled[site] || !IsDue(m_dtNext[site], now))
            continue;
        if (UpdateNextConnection(site, site - 1) && !disabled)
            QueueSite(site);
    }
}

void CDialogSchedule::ParseStartTime(int site, std::string& text) {
    std::string column;
    m_dtNext[site] = ParseStartField(text, &column);
    text = column;
}

bool CDialogSchedule::UpdateNextConnection(int site, int row) {
    if (m_tsInterval[site].IsZero()) {
        m_listSites.SetItemText(row, COL_NEXT_CONNECTION, "");
        return false;
    }
    const SiteTime now = SiteTimeFromLocal(Clock::LocalNow());
    m_dtNext[site] = NextConnectionAfter(m_dtNext[site], m_tsInterval[site], now);
    m_listSites.SetItemText(row, COL_NEXT_CONNECTION, FormatNextConnection(m_dtNext[site]).c_str());
    return true;
}

void CDialogSchedule::QueueSite(int site) {
    // A retry that finds no room starts the next series whole.
    if (site >= 1 && site <= kSiteCount && !m_nQueue.Add(site))
        m_nRetriesLeft[site] = 0;
}

void CDialogSchedule::DropQueuedSite(int site) {
    m_nQueue.Remove(site);
    if (site >= 1 && site <= kSiteCount && site != m_nCallingSite)
        m_nRetriesLeft[site] = 0;
}

void CDialogSchedule::ClearQueue() {
    while (m_nQueue.First() != 0)
        DropQueuedSite(m_nQueue.First());
}

int CDialogSchedule::SelectedSite() const {
    const int row = m_listSites.GetNextItem(-1, LVNI_SELECTED);
    return row < 0 ? 0 : std::atoi(m_listSites.GetItemText(row, COL_ENABLE).c_str());
}

void CDialogSchedule::OnCallNow() {
    const UINT icon = MB_ICONEXCLAMATION;
    const int site = SelectedSite();
    if (site < 1 || site > kSiteCount) {
        MessageBox("No Site is selected !!\nSelect a site and try again.", "Warning", icon);
        return;
    }
    char line[kLineBufferSize];
    char phone[kMaxPhone + 1] = "";
    if (ReadSiteFileLine(ScheduleFileKind::Site, site, line, sizeof line))
        BoundedCopy(phone, kMaxPhone, ParseSiteLine(line).phone.c_str());
    if (phone[0] == '\0') {
        MessageBox("No phone number has been entered for this site.", "Warning", icon);
        return;
    }
    if (phone[0] == 'D') {
        MessageBox(
            "Direct connection, no need to use 'Call Now' - just click on 'Communicate' tab.",
            "Warning", icon);
        return;
    }
    // A scheduled call being handed off or waiting shares the phone field.
    if (!m_pTabCtrl || m_pTabCtrl->IsModemInUse() || m_nCallingSite != 0 ||
        m_pTabCtrl->IsScheduledCall()) {
        MessageBox("Already using the modem !!\nDisconnect and try again.", "Warning", icon);
        return;
    }
    m_pTabCtrl->RequestCallNow(phone);
    m_pTabCtrl->SelectTab(PAGE_COMMUNICATE);
    m_pTabCtrl->SetCurrentPage(PAGE_COMMUNICATE);
}
