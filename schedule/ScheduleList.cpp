// The Schedule page's site list: the start-up load, the rows, check boxes,
// colours, column widths, the Edit Schedule dialog and "View Log".
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/FileReader.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "framework/TextViewer.h"
#include "schedule/DialogEditSchedule.h"
#include "schedule/DialogSchedule.h"
#include "schedule/ScheduleConfig.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/ScheduleStatus.h"
#include "schedule/SiteFile.h"
#include "shell/XTabCtrl.h"

namespace {

const char* const kHeadings[kColumnCount] = {"Enable",   "Site Name",       "Phone No.",  "Start",
                                             "Interval", "Next Connection", "Last Event", "Status"};

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;

// The next line of a file read whole, as ReadFileLine gives it: through its
// LF, at most size - 1 bytes and a NUL; 0 at the end.
std::size_t NextLine(const std::string& bytes, std::size_t* pos, char* line, std::size_t size) {
    if (*pos >= bytes.size())
        return 0;
    const std::size_t lf = bytes.find('\n', *pos);
    const std::size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
    const std::size_t kept = std::min(end - *pos, size - 1);
    std::memcpy(line, bytes.data() + *pos, kept);
    line[kept] = '\0';
    *pos = end;
    return kept;
}

constexpr std::size_t kFileLimit = 4u << 20;

} // namespace

void CDialogSchedule::StartupLoad() {
    m_szDataFolder = m_pTabCtrl ? m_pTabCtrl->GetDataFolder() : "";
    for (int site = 1; site <= kSiteCount; ++site) {
        m_bEnabled[site] = 0;
        m_cStatus[site] = STATUS_NONE;
        m_nRetriesLeft[site] = 0;
    }
    std::string bytes;
    if (ReadFileStart(DataPath("stat.cfg"), &bytes, 64 * 1024))
        ParseStatusConfig(bytes, m_cStatus);
    LoadDumpEvents();

    m_nQueue.Clear();
    m_nCallingSite = 0;
    m_nLastMinute = Clock::LocalNow().minute;
    m_nStartDelay = 0;

    for (int col = 0; col < kColumnCount; ++col)
        m_listSites.InsertColumn(col, kHeadings[col], LVCFMT_LEFT);
    m_listSites.SetExtendedStyle(kListStyle);
    LoadSchedule();
}

void CDialogSchedule::LoadDumpEvents() {
    const std::string path = DataPath(kDumpEventFileName);
    std::string bytes;
    if (!ReadFileStart(path, &bytes, kFileLimit)) {
        for (int site = 1; site <= kSiteCount; ++site)
            SetDumpEvent(site, DumpEventRecord{});
        // Unsynced: defaults lost to a power cut are written again.
        const FileResult made = CreateDefaultFile(path, ScheduleFileKind::DumpEvent, false);
        if (!made.ok())
            WarnWriteFailure(FILE_LAST, made.path, made.error);
        return;
    }
    char line[kLineBufferSize];
    std::size_t pos = 0;
    for (int site = 1; site <= kSiteCount; ++site) {
        const std::size_t count = NextLine(bytes, &pos, line, sizeof line);
        SetDumpEvent(site, ParseDumpEventLine(count ? line : "", count));
    }
}

void CDialogSchedule::LoadSchedule() {
    m_listSites.DeleteAllItems();
    m_bSiteFile = ReadFileStart(DataPath(kSiteFileName), &m_szSiteBytes, kFileLimit);
    m_nSitePos = 0;
    m_nLoadSite = 1;
    LoadScheduleRows();
}

void CDialogSchedule::LoadScheduleRows() {
    while (m_nLoadSite <= kSiteCount) {
        const int site = m_nLoadSite++;
        if (m_bSiteFile) {
            char line[kLineBufferSize];
            // A short file: the sites past its end are default sites.
            if (NextLine(m_szSiteBytes, &m_nSitePos, line, sizeof line) == 0)
                BoundedCopy(line, sizeof line - 1, DefaultSiteLine(site).c_str());
            FillSiteRow(site - 1, site, line, TRUE);
        } else {
            const int row = m_listSites.InsertItem(site - 1, Format("%d", site).c_str());
            const char* cells[] = {"", "", "-", "-", "", "", ""};
            for (int col = COL_SITE_NAME; col <= COL_STATUS; ++col)
                m_listSites.SetItemText(row, col, cells[col - 1]);
            m_tsInterval[site] = SiteInterval{};
        }
        // After the last row too: what follows gets a slice of its own.
        if (Clock::NowMs() >= m_nSliceEndMs) {
            SetTimer(IDT_SCHEDULE_START, 1);
            return;
        }
    }
    std::string().swap(m_szSiteBytes);

    std::string bytes;
    bool disable = false;
    if (ReadFileStart(DataPath("en.cfg"), &bytes, 64 * 1024))
        ParseEnableConfig(bytes, &disable, m_bEnabled);
    else
        std::memset(m_bEnabled, 0, sizeof m_bEnabled);
    m_btnDisableAutoPoll.SetCheck(disable ? BST_CHECKED : BST_UNCHECKED);
    for (int site = 1; site <= kSiteCount; ++site)
        m_listSites.SetCheck(site - 1, m_bEnabled[site] ? TRUE : FALSE);

    SetFittedColumnWidths();
    ReadCwConfig();
    m_bLoaded = true;
    // The recorded widths apply at once, not only at the next resize.
    ApplyColumnWidths();
}

void CDialogSchedule::FillSiteRow(int row, int site, const char* line, BOOL insert) {
    const SiteRecord record = ParseSiteLine(line);
    if (insert) {
        m_listSites.InsertItem(row, Format("%d", site).c_str());
        m_listSites.SetCheck(row, FALSE);
    }
    m_listSites.SetItemText(row, COL_SITE_NAME, record.name.c_str());
    m_listSites.SetItemText(row, COL_PHONE,
                            record.phone[0] == 'D' ? "Direct" : record.phone.c_str());

    std::string start = record.start;
    ParseStartTime(site, start);
    m_listSites.SetItemText(row, COL_START, start.c_str());

    if (record.interval == "0") {
        m_tsInterval[site] = SiteInterval{};
        m_listSites.SetItemText(row, COL_START, "-");
        m_listSites.SetItemText(row, COL_INTERVAL, "-");
    } else {
        m_tsInterval[site] = ParseInterval(record.interval, record.unit);
        m_listSites.SetItemText(row, COL_INTERVAL,
                                IntervalColumnText(record.interval, record.unit).c_str());
    }
    UpdateNextConnection(site, row);
    m_listSites.SetItemText(row, COL_LAST_EVENT, m_szDumpEvent[site]);
    m_listSites.SetItemText(row, COL_STATUS, StatusText(m_cStatus[site]));
}

void CDialogSchedule::SetSiteStatus(int row, int site, char code) {
    code = NormalizeStatus(code);
    m_listSites.SetItemText(row, COL_STATUS, StatusText(code));
    if (code != m_cStatus[site]) {
        m_cStatus[site] = code;
        WriteStatusConfig();
    }
}

void CDialogSchedule::WriteStatusConfig() {
    const std::string path = DataPath("stat.cfg");
    const FileResult result = WriteFileWhole(path, FormatStatusConfig(m_cStatus));
    if (!result.ok())
        WarnWriteFailure(FILE_STAT, path, result.error);
}

void CDialogSchedule::WriteEnableConfig() {
    const std::string path = DataPath("en.cfg");
    const FileResult result =
        WriteFileWhole(path, FormatEnableConfig(IsAutoPollBoxTicked(), m_bEnabled));
    if (!result.ok())
        WarnWriteFailure(FILE_EN, path, result.error);
}

void CDialogSchedule::WriteCwConfig(bool synced) {
    const std::string path = DataPath("cw.cfg");
    const FileResult result = WriteFileWhole(path, FormatColumnWidths(m_nColWidth), synced);
    if (!result.ok())
        WarnWriteFailure(FILE_CW, path, result.error);
}

void CDialogSchedule::ReadCwConfig() {
    const std::string path = DataPath("cw.cfg");
    std::string bytes;
    if (!ReadFileStart(path, &bytes, 150) || bytes.empty()) {
        RecordColumnWidths();
        // Unsynced: widths lost to a power cut are recorded again.
        WriteCwConfig(false);
        return;
    }
    ParseColumnWidths(bytes, m_nColWidth);
}

void CDialogSchedule::RecordColumnWidths() {
    CRect client;
    m_listSites.GetClientRect(&client);
    int sum = 0;
    for (int col = 0; col < kColumnCount - 1; ++col) {
        m_nColWidth[col] = m_listSites.GetColumnWidth(col);
        sum += m_nColWidth[col];
    }
    m_nColWidth[kColumnCount - 1] = client.Width() - sum;
    m_nColWidth[kColumnCount] = client.Width();
}

void CDialogSchedule::ApplyColumnWidths() {
    // Nothing is recorded before the load, and a list width of 0 or less
    // (a hand-edited "cw.cfg") gives no proportions.
    if (!m_bLoaded || m_nColWidth[kColumnCount] <= 0)
        return;
    CRect client;
    m_listSites.GetClientRect(&client);
    const long long width = client.Width();
    long long used = 0;
    for (int col = 0; col < kColumnCount - 1; ++col) {
        const long long w = std::max(0, m_nColWidth[col]) * width / m_nColWidth[kColumnCount];
        m_listSites.SetColumnWidth(col, int(std::max(0LL, w)));
        used += std::max(0LL, w);
    }
    m_listSites.SetColumnWidth(kColumnCount - 1, int(std::max(0LL, width - used)));
}

void CDialogSchedule::SetFittedColumnWidths() {
    // The longest text each column shows: its heading or its widest cell.
    std::vector<std::string> longest[kColumnCount];
    longest[COL_ENABLE] = {"300"};
    longest[COL_PHONE] = {"Direct"};
    for (int month = 1; month <= 12; ++month) {
        const std::string time =
            FormatNextConnection(SiteTimeFromLocal(LocalTime{2000, month, 28, 23, 59, 0}));
        longest[COL_START].push_back(time);
        longest[COL_NEXT_CONNECTION].push_back(time);
    }
    longest[COL_INTERVAL] = {"999 mins", "999 days"};
    longest[COL_LAST_EVENT] = {"00:00:00 00/00/00"};
    longest[COL_STATUS] = {"Call in Progress..."};
    for (char code = '1'; code <= '9'; ++code)
        longest[COL_STATUS].push_back(StatusText(code));

    CRect client;
    m_listSites.GetClientRect(&client);
    int used = 0;
    for (int col = 0; col < kColumnCount; ++col) {
        // The cell's margins, and the check box before the site number.
        const int box = col == COL_ENABLE ? 24 : 0;
        int width = m_listSites.GetStringWidth(kHeadings[col]);
        for (const std::string& text : longest[col])
            width = std::max(width, box + m_listSites.GetStringWidth(text.c_str()));
        width += 10;
        // The last column takes what is left.
        if (col == kColumnCount - 1)
            width = std::max(width, client.Width() - used);
        m_listSites.SetColumnWidth(col, width);
        used += width;
    }
}

void CDialogSchedule::CheckListBoxes() {
    bool changed = false;
    for (int site = 1; site <= kSiteCount && site <= m_listSites.GetItemCount(); ++site) {
        const int row = site - 1;
        const BYTE ticked = m_listSites.GetCheck(row) ? 1 : 0;
        if (ticked != m_bEnabled[site]) {
            m_bEnabled[site] = ticked;
            changed = true;
            if (!ticked)
                DropQueuedSite(site);
        }
        if (!ticked)
            SetSiteStatus(row, site, STATUS_NONE);
    }
    if (changed) {
        RedrawAllRows();
        WriteEnableConfig();
    }
}

void CDialogSchedule::RedrawRow(int row) {
    m_listSites.RedrawItems(row, row);
}

void CDialogSchedule::RedrawAllRows() {
    m_listSites.RedrawItems(0, kSiteCount - 1);
}

void CDialogSchedule::OnClickList(NMHDR* payload) {
    static_cast<NMITEMACTIVATE*>(payload)->result = 0;
    SetTimer(IDT_LIST_CLICK, 50);
}

void CDialogSchedule::OnItemChangedList(NMHDR* payload) {
    // A check box changed by the user, with the mouse or the keyboard.
    if (static_cast<NMLISTVIEW*>(payload)->uChanged & LVIF_STATE)
        SetTimer(IDT_LIST_CLICK, 50);
}

void CDialogSchedule::OnDblClkList(NMHDR* payload) {
    (void)payload;
    const int row = m_listSites.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    const int site = std::atoi(m_listSites.GetItemText(row, COL_ENABLE).c_str());
    if (site < 1 || site > kSiteCount)
        return;

    CDialogEditSchedule dialog;
    dialog.SetDataFolder(m_szDataFolder + "/");
    dialog.SetSite(site);
    if (dialog.DoModal() == IDOK)
        DropQueuedSite(site);

    char line[kLineBufferSize];
    if (ReadSiteFileLine(ScheduleFileKind::DumpEvent, site, line, sizeof line))
        SetDumpEvent(site, ParseDumpEventLine(line, std::strlen(line)));
    if (ReadSiteFileLine(ScheduleFileKind::Site, site, line, sizeof line))
        FillSiteRow(row, site, line, FALSE);
}

void CDialogSchedule::RowColors(int site, COLORREF* text, COLORREF* background) const {
    if (IsAutoPollBoxTicked() && m_bEnabled[site]) {
        *text = RGB(90, 90, 90);
        *background = RGB(200, 200, 200);
    } else if (site == m_nCallingSite) {
        *text = RGB(0, 0, 0);
        *background = RGB(255, 255, 0);
    } else if (IsSuccessStatus(m_cStatus[site])) {
        *text = RGB(0, 0, 0);
        *background = RGB(0, 255, 0);
    } else if (IsFailureStatus(m_cStatus[site])) {
        *text = RGB(255, 255, 255);
        *background = RGB(255, 0, 0);
    } else {
        *text = RGB(0, 0, 0);
        *background = RGB(255, 255, 255);
    }
}

void CDialogSchedule::OnCustomDrawList(NMHDR* payload) {
    auto* draw = static_cast<NMLVCUSTOMDRAW*>(payload);
    if (draw->dwDrawStage == CDDS_PREPAINT) {
        draw->result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->dwDrawStage == CDDS_ITEMPREPAINT) {
        const int site = draw->dwItemSpec + 1;
        if (site >= 1 && site <= kSiteCount)
            RowColors(site, &draw->clrText, &draw->clrTextBk);
        draw->result = CDRF_DODEFAULT;
    } else {
        draw->result = 0;
    }
}

void CDialogSchedule::OnEndTrackHeader(NMHDR* payload) {
    static_cast<NMHEADER*>(payload)->result = 0;
    RecordColumnWidths();
    WriteCwConfig();
}

void CDialogSchedule::OnViewLog() {
    const std::string path = DataPath("log.txt");
    CFileReader log;
    if (!log.Open(path, 0)) {
        MessageBox("Log file does not exist yet!\n\n", "Warning", MB_ICONEXCLAMATION);
        return;
    }
    log.Close();
    const std::string failure = TextViewer::Open(path);
    if (!failure.empty())
        MessageBox(failure.c_str(), "Warning", MB_ICONEXCLAMATION);
}

void CDialogSchedule::OnDisableAutoPolling() {
    RedrawAllRows();
    if (IsAutoPollBoxTicked()) {
        ClearQueue();
        if (m_pTabCtrl)
            m_pTabCtrl->SetAutoPollDisabled(1);
    } else if (m_pTabCtrl) {
        m_pTabCtrl->SetAutoPollDisabled(0);
    }
    WriteEnableConfig();
}
