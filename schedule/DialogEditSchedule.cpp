#include "schedule/DialogEditSchedule.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <cstdio>
#include <cstring>

#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "framework/MessageMap.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/SiteFile.h"

namespace {

using D = CDialogEditSchedule;

const MessageMapEntry<D> kMessageMap[] = {
    OnNotify<D>(BN_CLICKED, IDC_ES_SAVE_TEMPLATE, &D::OnSaveTemplate),
    OnNotify<D>(BN_CLICKED, IDC_ES_USE_TEMPLATE, &D::OnUseTemplate),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD1_RAW, &D::OnCmd1Raw),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD1_CSV1, &D::OnCmd1Csv1),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD1_CSV2, &D::OnCmd1Csv2),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD1_TIDEDA, &D::OnCmd1Tideda),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD2_RAW, &D::OnCmd2Raw),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD2_CSV1, &D::OnCmd2Csv1),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD2_CSV2, &D::OnCmd2Csv2),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD2_TIDEDA, &D::OnCmd2Tideda),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD3_RAW, &D::OnCmd3Raw),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD3_CSV1, &D::OnCmd3Csv1),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD3_CSV2, &D::OnCmd3Csv2),
    OnNotify<D>(BN_CLICKED, IDC_ES_CMD3_TIDEDA, &D::OnCmd3Tideda),
    OnNotify<D>(BN_CLICKED, IDC_ES_UNIT_DAYS, &D::OnUnitDays),
    OnNotify<D>(BN_CLICKED, IDC_ES_UNIT_HOUR, &D::OnUnitHours),
    OnNotify<D>(BN_CLICKED, IDC_ES_UNIT_MIN, &D::OnUnitMinutes),
    OnNotify<D>(BN_CLICKED, IDC_ES_APPEND1, &D::OnCmd1Append),
    OnNotify<D>(BN_CLICKED, IDC_ES_APPEND2, &D::OnCmd2Append),
    OnNotify<D>(BN_CLICKED, IDC_ES_APPEND3, &D::OnCmd3Append),
    OnNotify<D>(BN_CLICKED, IDC_ES_CLEAR1, &D::OnClearDumpEvent),
    OnNotify<D>(BN_CLICKED, IDC_ES_CLEAR2, &D::OnClearDumpEvent),
    OnNotify<D>(BN_CLICKED, IDC_ES_CLEAR3, &D::OnClearDumpEvent),
    OnNotify<D>(BN_CLICKED, IDC_ES_SAVE_EVENT1, &D::OnCmd1SaveDumpEvent),
    OnNotify<D>(BN_CLICKED, IDC_ES_SAVE_EVENT2, &D::OnCmd2SaveDumpEvent),
    OnNotify<D>(BN_CLICKED, IDC_ES_SAVE_EVENT3, &D::OnCmd3SaveDumpEvent),
    OnNotify<D>(BN_CLICKED, IDC_ES_DIRECT, &D::OnDirectConnection),
};

// Refuses keystrokes and pastes that do not match `pattern`.
void Restrict(CEdit& edit, int limit, const char* pattern) {
    edit.SetLimitText(limit);
    if (auto* line = qobject_cast<QLineEdit*>(edit.GetWidget()))
        line->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QString::fromLatin1(pattern)), line));
}

} // namespace

CDialogEditSchedule::CDialogEditSchedule(CWnd* parent) : CDialog(IDD_EDIT_SCHEDULE, parent) {}

void CDialogEditSchedule::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ES_EVENT3, m_stEvent3);
    DDX_Control(pDX, IDC_ES_EVENT2, m_stEvent2);
    DDX_Control(pDX, IDC_ES_EVENT1, m_stEvent1);
    DDX_Control(pDX, IDC_ES_RETRIES, m_cbRetries);
    DDX_Control(pDX, IDC_ES_CLEAR3, m_btnClear3);
    DDX_Control(pDX, IDC_ES_CLEAR2, m_btnClear2);
    DDX_Control(pDX, IDC_ES_CLEAR1, m_btnClear1);
    DDX_Control(pDX, IDC_ES_START_DATE, m_dtDate);
    DDX_Control(pDX, IDC_ES_START_TIME, m_dtTime);
    DDX_Control(pDX, IDC_ES_CMD3, m_edCmd3);
    DDX_Control(pDX, IDC_ES_CMD2, m_edCmd2);
    DDX_Control(pDX, IDC_ES_CMD1, m_edCmd1);
    DDX_Control(pDX, IDC_ES_FILE3, m_edFile3);
    DDX_Control(pDX, IDC_ES_FILE2, m_edFile2);
    DDX_Control(pDX, IDC_ES_FILE1, m_edFile1);
    DDX_Control(pDX, IDC_ES_INTERVAL, m_edInterval);
    DDX_Control(pDX, IDC_ES_PHONE, m_edPhone);
    DDX_Control(pDX, IDC_ES_NAME, m_edName);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDC_ES_SITE_GROUP, m_grpSite);
    DDX_Control(pDX, IDC_ES_SAVE_TEMPLATE, m_btnSaveTemplate);
    DDX_Control(pDX, IDC_ES_USE_TEMPLATE, m_btnUseTemplate);
    DDX_Control(pDX, IDC_ES_CMD1_CSV1, m_btnCmd1Csv1);
    DDX_Control(pDX, IDC_ES_CMD2_CSV1, m_btnCmd2Csv1);
    DDX_Control(pDX, IDC_ES_CMD3_CSV1, m_btnCmd3Csv1);
    DDX_Control(pDX, IDC_ES_CMD1_CSV2, m_btnCmd1Csv2);
    DDX_Control(pDX, IDC_ES_CMD2_CSV2, m_btnCmd2Csv2);
    DDX_Control(pDX, IDC_ES_CMD3_CSV2, m_btnCmd3Csv2);
    DDX_Control(pDX, IDC_ES_UNIT_DAYS, m_btnUnitDays);
    DDX_Control(pDX, IDC_ES_UNIT_HOUR, m_btnUnitHours);
    DDX_Control(pDX, IDC_ES_UNIT_MIN, m_btnUnitMin);
    DDX_Control(pDX, IDC_ES_CMD1_RAW, m_btnCmd1Raw);
    DDX_Control(pDX, IDC_ES_CMD2_RAW, m_btnCmd2Raw);
    DDX_Control(pDX, IDC_ES_CMD3_RAW, m_btnCmd3Raw);
    DDX_Control(pDX, IDC_ES_CMD1_TIDEDA, m_btnCmd1Tideda);
    DDX_Control(pDX, IDC_ES_CMD2_TIDEDA, m_btnCmd2Tideda);
    DDX_Control(pDX, IDC_ES_CMD3_TIDEDA, m_btnCmd3Tideda);
    DDX_Control(pDX, IDC_ES_APPEND1, m_btnAppend1);
    DDX_Control(pDX, IDC_ES_APPEND2, m_btnAppend2);
    DDX_Control(pDX, IDC_ES_APPEND3, m_btnAppend3);
    DDX_Control(pDX, IDC_ES_SAVE_EVENT1, m_btnSaveEvent1);
    DDX_Control(pDX, IDC_ES_SAVE_EVENT2, m_btnSaveEvent2);
    DDX_Control(pDX, IDC_ES_SAVE_EVENT3, m_btnSaveEvent3);
    DDX_Control(pDX, IDC_ES_DIRECT, m_btnDirect);
}

BOOL CDialogEditSchedule::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

std::string CDialogEditSchedule::Path(const char* name) const {
    return JoinPath(m_strDataFolder, name);
}

void CDialogEditSchedule::LimitInput() {
    // The schedule's readers rely on these widths, and a comma, CR or LF
    // would move the fields of the line.
    const char* text = "[^,\\r\\n]*";
    Restrict(m_edName, int(kMaxSiteName), text);
    Restrict(m_edPhone, int(kMaxPhone) - 1, text); // room for the 'D' of a direct link
    for (int k = 0; k < 3; ++k) {
        Restrict(*Command(k).command, int(kMaxCommand), text);
        Restrict(*Command(k).file, int(kMaxCaptureName), text);
    }
    Restrict(m_edInterval, 9, "[0-9]*");
    m_dtDate.SetYearRange(1980, 2079);
    m_dtTime.SetYearRange(1980, 2079);
    // Radio-styled buttons: the handlers alone set each group.
    for (CButton* b : {&m_btnUnitDays, &m_btnUnitHours, &m_btnUnitMin, &m_btnAppend1, &m_btnAppend2,
                       &m_btnAppend3, &m_btnSaveEvent1, &m_btnSaveEvent2, &m_btnSaveEvent3})
        if (auto* button = qobject_cast<QAbstractButton*>(b->GetWidget()))
            button->setAutoExclusive(false);
    for (int k = 0; k < 3; ++k)
        for (CButton* b : Command(k).forms)
            if (auto* button = qobject_cast<QAbstractButton*>(b->GetWidget()))
                button->setAutoExclusive(false);
}

BOOL CDialogEditSchedule::OnInitDialog() {
    CDialog::OnInitDialog();
    LimitInput();
    char caption[32];
    std::snprintf(caption, sizeof caption, "Site #%d :", m_nSite);
    m_grpSite.SetWindowText(caption);
    for (int k = 0; k < 3; ++k) {
        Command(k).event->ShowWindow(SW_HIDE);
        Command(k).clear->ShowWindow(SW_HIDE);
    }
    for (const char* item : {"1", "2", "3", "4", "5", "6", "7", "8", "9"})
        m_cbRetries.AddString(item);

    char line[kLineBufferSize];
    const std::string lastPath = Path(kDumpEventFileName);
    if (std::size_t n =
            ReadLineOfSite(lastPath, ScheduleFileKind::DumpEvent, m_nSite, line, sizeof line)) {
        TakeDumpEvent(ParseDumpEventLine(line, n));
    } else {
        m_szLastDumpEvent[0] = '\0';
        m_cDumpEventCommand = '\0';
        m_cDumpEventRepeats = '1';
        std::strcpy(m_szDumpEventTotal, "0.0");
        if (!FileExists(lastPath)) {
            const FileResult result = CreateDefaultFile(lastPath, ScheduleFileKind::DumpEvent);
            if (!result.ok())
                WarnFileFailure("Could not write", result.path, result.error);
        }
    }

    const std::string sitePath = Path(kSiteFileName);
    if (ReadLineOfSite(sitePath, ScheduleFileKind::Site, m_nSite, line, sizeof line)) {
        ReadSiteLine(line);
    } else {
        ReadSiteLine(DefaultSiteLine(m_nSite).c_str());
        if (!FileExists(sitePath)) {
            const FileResult result = CreateDefaultFile(sitePath, ScheduleFileKind::Site);
            if (!result.ok())
                WarnFileFailure("Could not write", result.path, result.error);
        }
    }
    m_dtTime.SetFormat("HH:mm");
    m_dtDate.SetFormat("dd-MMM-yy");
    return TRUE;
}

void CDialogEditSchedule::OnOK() {
    const FileResult site =
        ReplaceSiteLine(m_strDataFolder, ScheduleFileKind::Site, m_nSite, SiteLineFromControls());
    if (!site.ok()) {
        WarnFileFailure("Could not write", site.path, site.error);
        return;
    }
    // A call of this site may have stored a newer dump event while the
    // dialog was open: keep it unless it was cleared or replaced here.
    if (!m_bEventChanged) {
        char line[kLineBufferSize];
        if (std::size_t n = ReadLineOfSite(Path(kDumpEventFileName), ScheduleFileKind::DumpEvent,
                                           m_nSite, line, sizeof line)) {
            const DumpEventRecord record = ParseDumpEventLine(line, n);
            std::memcpy(m_szLastDumpEvent, record.event, sizeof m_szLastDumpEvent);
            m_cDumpEventRepeats = record.repeats;
            std::memcpy(m_szDumpEventTotal, record.total, sizeof m_szDumpEventTotal);
        }
    }
    const FileResult last = ReplaceSiteLine(m_strDataFolder, ScheduleFileKind::DumpEvent, m_nSite,
                                            DumpEventLineFromControls());
    if (!last.ok()) {
        WarnFileFailure("Could not write", last.path, last.error);
        return;
    }
    EndDialog(IDOK);
}

void CDialogEditSchedule::TakeDumpEvent(const DumpEventRecord& record) {
    m_cDumpEventCommand = record.command;
    std::memcpy(m_szLastDumpEvent, record.event, sizeof m_szLastDumpEvent);
    m_cDumpEventRepeats = record.repeats;
    std::memcpy(m_szDumpEventTotal, record.total, sizeof m_szDumpEventTotal);
}

void CDialogEditSchedule::OnDirectConnection() {
    SetTimer(IDT_DIRECT_TOGGLE, 50);
}

void CDialogEditSchedule::OnTimer(UINT id) {
    CDialog::OnTimer(id);
    if (id != IDT_DIRECT_TOGGLE)
        return;
    KillTimer(IDT_DIRECT_TOGGLE);
    // A quick double click leaves the box as it was: nothing to do.
    const bool checked = m_btnDirect.GetCheck() == BST_CHECKED;
    if (checked != m_bDirectApplied)
        SetDirect(checked);
}

void CDialogEditSchedule::SetDirect(bool direct) {
    if (direct) {
        m_edPhone.EnableWindow(FALSE);
        m_strPhone = "D" + m_edPhone.GetWindowText();
        m_edPhone.SetWindowText("Direct");
    } else {
        m_edPhone.EnableWindow(TRUE);
        if (!m_strPhone.empty() && m_strPhone[0] == 'D')
            m_strPhone.erase(0, 1);
        m_edPhone.SetWindowText(m_strPhone);
    }
    m_bDirectApplied = direct;
}
