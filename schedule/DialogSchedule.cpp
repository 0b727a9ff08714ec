#include "schedule/DialogSchedule.h"

#include <cstring>

#include "framework/Clock.h"
#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "framework/MessageMap.h"
#include "schedule/ScheduleFiles.h"

namespace {

// The longest the start-up load holds the window at a time.
constexpr long long kLoadSliceMs = 2;

const MessageMapEntry<CDialogSchedule> kMessageMap[] = {
    OnNotifyData<CDialogSchedule>(NM_CLICK, IDC_SCHEDULE_LIST, &CDialogSchedule::OnClickList),
    OnNotifyData<CDialogSchedule>(LVN_ITEMCHANGED, IDC_SCHEDULE_LIST,
                                  &CDialogSchedule::OnItemChangedList),
    OnNotifyData<CDialogSchedule>(NM_DBLCLK, IDC_SCHEDULE_LIST, &CDialogSchedule::OnDblClkList),
    OnNotifyData<CDialogSchedule>(NM_CUSTOMDRAW, IDC_SCHEDULE_LIST,
                                  &CDialogSchedule::OnCustomDrawList),
    // The list's header has the control id 0.
    OnNotifyData<CDialogSchedule>(HDN_ENDTRACK, 0, &CDialogSchedule::OnEndTrackHeader),
    OnNotify<CDialogSchedule>(BN_CLICKED, IDC_SCHEDULE_CALL_NOW, &CDialogSchedule::OnCallNow),
    OnNotify<CDialogSchedule>(BN_CLICKED, IDC_SCHEDULE_VIEW_LOG, &CDialogSchedule::OnViewLog),
    OnNotify<CDialogSchedule>(BN_CLICKED, IDC_SCHEDULE_DISABLE_AUTOPOLL,
                              &CDialogSchedule::OnDisableAutoPolling),
};

} // namespace

CDialogSchedule::CDialogSchedule() : CDialog(IDD_SCHEDULE) {}

CDialogSchedule::~CDialogSchedule() = default;

void CDialogSchedule::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCHEDULE_DISABLE_AUTOPOLL, m_btnDisableAutoPoll);
    DDX_Control(pDX, IDC_SCHEDULE_VIEW_LOG, m_btnViewLog);
    DDX_Control(pDX, IDC_SCHEDULE_CLOCK, m_stClock);
    DDX_Control(pDX, IDC_SCHEDULE_EDIT_HINT, m_stEditHint);
    DDX_Control(pDX, IDC_SCHEDULE_CALL_HINT, m_stCallHint);
    DDX_Control(pDX, IDC_SCHEDULE_CALL_NOW, m_btnCallNow);
    DDX_Control(pDX, IDC_SCHEDULE_LIST, m_listSites);
}

BOOL CDialogSchedule::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(IDT_SCHEDULE_START, 100);
    m_bFirstTick = 1;
    SetTimer(IDT_SCHEDULE_TICK, 2000);
    return TRUE;
}

BOOL CDialogSchedule::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

BOOL CDialogSchedule::OnNotify(UINT id, UINT code, NMHDR* payload) {
    return DispatchNotify(this, kMessageMap, id, code, payload) ? TRUE : FALSE;
}

void CDialogSchedule::OnTimer(UINT id) {
    switch (id) {
    case IDT_SCHEDULE_START:
        KillTimer(IDT_SCHEDULE_START);
        m_nSliceEndMs = Clock::NowMs() + kLoadSliceMs;
        if (m_nLoadSite == 0)
            StartupLoad();
        else
            LoadScheduleRows();
        break;
    case IDT_LIST_CLICK:
        KillTimer(IDT_LIST_CLICK);
        CheckListBoxes();
        break;
    case IDT_SCHEDULE_TICK:
        OnTick();
        break;
    default:
        break;
    }
}

void CDialogSchedule::OnClose() {
    KillTimer(IDT_SCHEDULE_TICK);
    KillTimer(IDT_LIST_CLICK);
}

void CDialogSchedule::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (!m_listSites.IsCreated())
        return;
    SetRedraw(FALSE);
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    m_listSites.SetWindowPos(15, 15, cx - 25, cy - 45, keep);
    m_stClock.SetWindowPos(195, 0, 0, 0, keep | SWP_NOSIZE);
    m_stEditHint.SetWindowPos(100, cy - 23, 0, 0, keep | SWP_NOSIZE);
    m_stCallHint.SetWindowPos(cx - 300, cy - 23, 0, 0, keep | SWP_NOSIZE);
    m_btnCallNow.SetWindowPos(cx - 83, cy - 25, 0, 0, keep | SWP_NOSIZE);
    m_btnViewLog.SetWindowPos(15, cy - 25, 0, 0, keep | SWP_NOSIZE);
    ApplyColumnWidths();
    SetRedraw(TRUE);
    Invalidate(TRUE);
}

std::string CDialogSchedule::DataPath(const char* name) const {
    return JoinPath(m_szDataFolder, name);
}

bool CDialogSchedule::ReadSiteFileLine(ScheduleFileKind kind, int site, char* line,
                                       std::size_t size) const {
    const char* name = kind == ScheduleFileKind::Site ? kSiteFileName : kDumpEventFileName;
    return ReadLineOfSite(DataPath(name), kind, site, line, size) > 0;
}

bool CDialogSchedule::IsAutoPollBoxTicked() const {
    return m_btnDisableAutoPoll.GetCheck() == BST_CHECKED;
}

void CDialogSchedule::WarnWriteFailure(WrittenFile file, const std::string& path, int error) {
    // A data folder that could not be made has been told of already.
    if (m_bWarned[file] || !IsDirectory(m_szDataFolder))
        return;
    m_bWarned[file] = true;
    WarnFileFailure("Could not write", path, error);
}

DumpEventRecord CDialogSchedule::GetDumpEvent(int site) const {
    DumpEventRecord record;
    record.command = m_cEventCommand[site];
    std::memcpy(record.event, m_szDumpEvent[site], kDumpEventSize);
    record.repeats = m_cEventRepeats[site];
    std::memcpy(record.total, m_szEventTotal[site], kEventTotalSize);
    return record;
}

void CDialogSchedule::SetDumpEvent(int site, const DumpEventRecord& record) {
    m_cEventCommand[site] = record.command;
    std::memcpy(m_szDumpEvent[site], record.event, kDumpEventSize);
    m_cEventRepeats[site] = record.repeats;
    std::memcpy(m_szEventTotal[site], record.total, kEventTotalSize);
}
