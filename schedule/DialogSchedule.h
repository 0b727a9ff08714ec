// CDialogSchedule: the Schedule page, a child dialog of the main window's
// tab control. It lists the 300 sites, finds the due ones once a minute,
// queues them and hands each in turn to the Communicate page through the
// tab control, then records the result and the poll log.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/ListCtrl.h"
#include "resources/ResourceSchedule.h"
#include "schedule/CallQueue.h"
#include "schedule/DumpEventFile.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/ScheduleTime.h"
#include "schedule/SiteFile.h"

class CXTabCtrl;

constexpr UINT IDT_SCHEDULE_TICK = 10000;
constexpr UINT IDT_LIST_CLICK = 10001;
constexpr UINT IDT_SCHEDULE_START = 10002;

// List columns.
enum ScheduleColumn {
    COL_ENABLE,
    COL_SITE_NAME,
    COL_PHONE,
    COL_START,
    COL_INTERVAL,
    COL_NEXT_CONNECTION,
    COL_LAST_EVENT,
    COL_STATUS,
};

class CDialogSchedule : public CDialog {
public:
    CDialogSchedule();
    ~CDialogSchedule() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT id, UINT code) override;
    BOOL OnNotify(UINT id, UINT code, NMHDR* payload) override;
    void OnTimer(UINT id) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    // Enter and Esc close nothing on a page.
    void OnOK() override {}
    void OnCancel() override {}

    // Site list (ScheduleList.cpp).
    void StartupLoad();
    void LoadDumpEvents();
    void LoadSchedule();
    // The rows of the list until the load's time slice is used up; the
    // rest follow from the next start timer, so the window is never held.
    void LoadScheduleRows();
    void FillSiteRow(int row, int site, const char* line, BOOL insert);
    void SetSiteStatus(int row, int site, char code);
    void WriteStatusConfig();
    void WriteEnableConfig();
    void WriteCwConfig(bool synced = true);
    void ReadCwConfig();
    void RecordColumnWidths();
    void ApplyColumnWidths();
    void SetFittedColumnWidths();
    void CheckListBoxes();
    void RedrawRow(int row);
    void RedrawAllRows();
    void OnClickList(NMHDR* payload);
    void OnItemChangedList(NMHDR* payload);
    void OnDblClkList(NMHDR* payload);
    void OnCustomDrawList(NMHDR* payload);
    void OnEndTrackHeader(NMHDR* payload);
    void OnViewLog();
    void OnDisableAutoPolling();
    // The row colours of a site (text, background).
    void RowColors(int site, COLORREF* text, COLORREF* background) const;

    // Minute scheduler and Call Now (ScheduleTick.cpp).
    void OnTick();
    void CheckDueSites();
    void ParseStartTime(int site, std::string& text);
    bool UpdateNextConnection(int site, int row);
    void QueueSite(int site);
    // A site leaves the queue without being called: its next series starts at Attempt#1.
    void DropQueuedSite(int site);
    void ClearQueue();
    void OnCallNow();

    // Call hand-off, results and poll log (ScheduleCalls.cpp).
    void HandOffNextSite();
    void HandleCallResult();
    void TakeLastDumpEvent();
    void LogCallStart(int site, const char* name, const char* phone);
    void LogCallResult(int site);

    // State a test may look at.
    CListCtrl& SiteList() { return m_listSites; }
    const CallQueue& Queue() const { return m_nQueue; }
    int GetCallingSite() const { return m_nCallingSite; }
    char GetStatus(int site) const { return m_cStatus[site]; }
    BYTE IsEnabled(int site) const { return m_bEnabled[site]; }
    int GetAttempt(int site) const { return m_nAttempt[site]; }
    const SiteTime& GetNextConnection(int site) const { return m_dtNext[site]; }
    DumpEventRecord GetDumpEvent(int site) const;
    const int* GetColumnWidths() const { return m_nColWidth; }

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;

private:
    std::string DataPath(const char* name) const;
    // Site n's line of a schedule file; false when the file cannot be read.
    bool ReadSiteFileLine(ScheduleFileKind kind, int site, char* line, std::size_t size) const;
    int SelectedSite() const;
    // Site n's dump event from a "last.cfg" line's record.
    void SetDumpEvent(int site, const DumpEventRecord& record);
    bool IsAutoPollBoxTicked() const;
    // The files the page writes; each failure is told once per run.
    enum WrittenFile { FILE_STAT, FILE_EN, FILE_CW, FILE_LAST, FILE_LOG, FILE_COUNT };
    void WarnWriteFailure(WrittenFile file, const std::string& path, int error);

    CButton m_btnDisableAutoPoll;
    CButton m_btnViewLog;
    CStatic m_stClock;
    CStatic m_stEditHint;
    CStatic m_stCallHint;
    CButton m_btnCallNow;
    CListCtrl m_listSites;
    std::string m_szDataFolder; // kept whole, however long
    BYTE m_bEnabled[kSiteCount + 1] = {};
    int m_nColWidth[9] = {};
    SiteTime m_dtNext[kSiteCount + 1];
    SiteInterval m_tsInterval[kSiteCount + 1];
    CallQueue m_nQueue;
    int m_nCallingSite = 0;
    int m_nLastMinute = -1;
    BYTE m_nStartDelay = 0;
    char m_cStatus[kSiteCount + 1] = {};
    int m_nRetries = 0;
    BYTE m_nRetriesLeft[kSiteCount + 1] = {};
    signed char m_nAttempt[kSiteCount + 1] = {};
    char m_szDumpEvent[kSiteCount + 1][kDumpEventSize] = {};
    char m_cEventCommand[kSiteCount + 1] = {};
    char m_cEventRepeats[kSiteCount + 1] = {};
    char m_szEventTotal[kSiteCount + 1][kEventTotalSize] = {};
    BYTE m_bFirstTick = 0;
    bool m_bLoaded = false;
    bool m_bWarned[FILE_COUNT] = {};
    // The start-up load between its slices.
    std::string m_szSiteBytes; // "site.cfg" as read
    bool m_bSiteFile = false;
    std::size_t m_nSitePos = 0;
    int m_nLoadSite = 0; // the next row's site; 0 before the load
    long long m_nSliceEndMs = 0;
};
