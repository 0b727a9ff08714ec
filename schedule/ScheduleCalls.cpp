// The Schedule page's hand-off of a queued site to the Communicate page,
// the result of its call, the attempts and the poll log.
#include <cerrno>
#include <cstring>

#include "framework/Text.h"
#include "schedule/DialogSchedule.h"
#include "schedule/PollLog.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/ScheduleStatus.h"
#include "schedule/SiteFile.h"
#include "shell/XTabCtrl.h"

void CDialogSchedule::HandOffNextSite() {
    if (m_nQueue.First() == 0 || m_pTabCtrl->IsModemInUse())
        return;
    // The port belongs to a firmware upgrade while its page is shown, and a
    // waiting "Call Now" holds the phone field.
    if (m_pTabCtrl->IsCurrentPage(PAGE_FIRMWARE_UPGRADE) || m_pTabCtrl->IsCallNow())
        return;
    const int site = m_nQueue.TakeFirst();
    const int row = site - 1;
    m_nCallingSite = site;
    RedrawRow(row);
    m_nStartDelay = 1;
    if (!m_bEnabled[site]) {
        m_nCallingSite = 0;
        m_nRetriesLeft[site] = 0;
        RedrawRow(row);
        return;
    }

    char line[kLineBufferSize];
    if (!ReadSiteFileLine(ScheduleFileKind::Site, site, line, sizeof line))
        BoundedCopy(line, sizeof line - 1, DefaultSiteLine(site).c_str());
    const SiteRecord record = ParseSiteLine(line);
    // A hand-edited name or number longer than its buffer is cut before the
    // character the bound falls in.
    const std::string dialled = record.phone[0] == 'D' ? std::string("Direct") : record.phone;
    char name[kMaxSiteName + 1];
    char phone[kMaxPhone + 1];
    BoundedCopy(name, Utf8PrefixLength(record.name, kMaxSiteName), record.name.c_str());
    BoundedCopy(phone, Utf8PrefixLength(dialled, kMaxPhone), dialled.c_str());
    if (m_nRetriesLeft[site] == 0) {
        m_nRetries = record.attempts;
        m_nRetriesLeft[site] = BYTE(m_nRetries - 1);
        m_nAttempt[site] = 1;
    } else {
        --m_nRetriesLeft[site];
        ++m_nAttempt[site];
    }
    LogCallStart(site, name, phone);
    m_listSites.SetItemText(row, COL_STATUS, "Call in Progress...");

    if (phone[0] == '\0') {
        SetSiteStatus(row, site, STATUS_NO_PHONE);
        LogCallResult(site);
        m_nCallingSite = 0;
        RedrawRow(row);
        m_nStartDelay = 0;
        return;
    }
    // No result of an earlier call may pass for this one's.
    m_pTabCtrl->SetCallResult(STATUS_MODEM_ERROR);
    m_pTabCtrl->SetDataReceived(0);
    m_pTabCtrl->SetSiteName(name);
    m_pTabCtrl->RequestScheduledCall(phone);
    m_pTabCtrl->SetCallCommands(CallCommandsOf(record));
    m_pTabCtrl->SetLastDumpEvent(m_szDumpEvent[site]);
    m_pTabCtrl->SetDumpEventCommand(m_cEventCommand[site]);
    m_pTabCtrl->SetDumpEventRepeats(BYTE(m_cEventRepeats[site] - '0'));
    m_pTabCtrl->SetDumpEventTotal(m_szEventTotal[site]);
}

void CDialogSchedule::HandleCallResult() {
    if (m_nStartDelay != 0) {
        --m_nStartDelay;
        return;
    }
    // Still calling, or the request has not been taken yet.
    if (m_pTabCtrl->IsModemInUse() || m_pTabCtrl->IsScheduledCall())
        return;
    const int site = m_nCallingSite;
    const int row = site - 1;
    const char result = m_pTabCtrl->GetCallResult();
    // Only a call that connected brings this site's dump event back.
    if (result == STATUS_OK || result == STATUS_DIRECT)
        TakeLastDumpEvent();
    m_listSites.SetItemText(row, COL_LAST_EVENT, m_szDumpEvent[site]);

    if (!m_bEnabled[site]) {
        SetSiteStatus(row, site, STATUS_NONE);
        m_nRetriesLeft[site] = 0;
    } else if (result == STATUS_OK && m_pTabCtrl->IsDataReceived()) {
        SetSiteStatus(row, site, STATUS_OK);
        m_nRetriesLeft[site] = 0;
    } else if (result == STATUS_OK || (result == STATUS_DIRECT && !m_pTabCtrl->IsDataReceived())) {
        // Connected, by modem or direct link, and nothing came back.
        SetSiteStatus(row, site, STATUS_NO_DATA);
    } else {
        SetSiteStatus(row, site, result);
    }
    LogCallResult(site);
    if (m_nRetriesLeft[site] != 0)
        QueueSite(site);
    m_nCallingSite = 0;
    RedrawRow(row);
}

void CDialogSchedule::TakeLastDumpEvent() {
    const int site = m_nCallingSite;
    char event[kDumpEventSize];
    m_pTabCtrl->GetLastDumpEvent(event);
    const char repeats = RepeatChar(m_pTabCtrl->GetDumpEventRepeats());
    if (std::strncmp(event, m_szDumpEvent[site], kDumpEventSize) == 0 &&
        repeats == m_cEventRepeats[site])
        return;
    std::memcpy(m_szDumpEvent[site], event, kDumpEventSize);
    m_cEventRepeats[site] = repeats;
    m_pTabCtrl->GetDumpEventTotal(m_szEventTotal[site]);

    std::string bytes;
    for (int n = 1; n <= kSiteCount; ++n) {
        if (m_cEventCommand[n] < '0' || m_cEventCommand[n] > '3')
            m_cEventCommand[n] = '0';
        bytes += FormatDumpEventLine(GetDumpEvent(n));
    }
    const std::string path = DataPath(kDumpEventFileName);
    const FileResult written = WriteFileWhole(path, bytes);
    if (!written.ok())
        WarnWriteFailure(FILE_LAST, written.path, written.error);
}

void CDialogSchedule::LogCallStart(int site, const char* name, const char* phone) {
    const std::string path = DataPath("log.txt");
    if (!StartLogLine(path, FormatLogStart(Clock::LocalNow(), site, name, phone, m_nAttempt[site])))
        WarnWriteFailure(FILE_LOG, path, errno);
}

void CDialogSchedule::LogCallResult(int site) {
    const std::string path = DataPath("log.txt");
    if (!AppendToLog(path, FormatLogResult(m_cStatus[site])))
        WarnWriteFailure(FILE_LOG, path, errno);
}
