// The Edit Schedule dialog's radio-styled groups, the tracked command with
// its stored event, and the template buttons.
#include "framework/FileReader.h"
#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "schedule/DialogEditSchedule.h"
#include "schedule/FieldReader.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/SiteFile.h"

void CDialogEditSchedule::SetForm(int k, char form) {
    m_cForm[k] = WrittenFormLetter(form);
    CommandControls c = Command(k);
    for (int i = 0; i < 4; ++i)
        c.forms[i]->SetCheck(kCaptureFormLetters[i] == m_cForm[k] ? BST_CHECKED : BST_UNCHECKED);
}

void CDialogEditSchedule::SetUnit(char unit) {
    m_cUnit = unit == 'M' || unit == 'H' ? unit : 'D';
    m_btnUnitMin.SetCheck(m_cUnit == 'M' ? BST_CHECKED : BST_UNCHECKED);
    m_btnUnitHours.SetCheck(m_cUnit == 'H' ? BST_CHECKED : BST_UNCHECKED);
    m_btnUnitDays.SetCheck(m_cUnit == 'D' ? BST_CHECKED : BST_UNCHECKED);
}

void CDialogEditSchedule::ToggleAppend(int k) {
    m_bAppend[k] = !m_bAppend[k];
    Command(k).append->SetCheck(m_bAppend[k] ? BST_CHECKED : BST_UNCHECKED);
}

void CDialogEditSchedule::ToggleTracked(int tracked) {
    m_nTracked = m_nTracked == tracked ? 0 : tracked;
    for (int k = 0; k < 3; ++k)
        Command(k).save->SetCheck(m_nTracked == k + 1 ? BST_CHECKED : BST_UNCHECKED);
    ShowTrackedEvent(m_nTracked);
}

void CDialogEditSchedule::ShowTrackedEvent(int tracked) {
    for (int k = 0; k < 3; ++k) {
        const int show = tracked == k + 1 ? SW_SHOW : SW_HIDE;
        Command(k).event->ShowWindow(show);
        Command(k).clear->ShowWindow(show);
    }
}

void CDialogEditSchedule::ShowEventText() {
    for (int k = 0; k < 3; ++k)
        Command(k).event->SetWindowText(m_szLastDumpEvent);
}

void CDialogEditSchedule::OnClearDumpEvent() {
    if (MessageBox("Are you sure you want to clear the time of the last recorded event?", "Clear ?",
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_szLastDumpEvent[0] = '\0';
    m_bEventChanged = true;
    ShowEventText();
}

void CDialogEditSchedule::OnSaveTemplate() {
    const FileResult result = WriteFileWhole(JoinPath(m_strDataFolder, kTemplateFileName),
                                             DumpEventLineFromControls() + SiteLineFromControls());
    if (!result.ok())
        WarnFileFailure("Could not write", result.path, result.error);
}

void CDialogEditSchedule::OnUseTemplate() {
    CFileReader file;
    if (!file.Open(JoinPath(m_strDataFolder, kTemplateFileName))) {
        MessageBox("Template not found !", "Warning", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    char line[kLineBufferSize];
    const std::size_t n = ReadFileLine(file, line);
    TakeDumpEvent(ParseDumpEventLine(n ? line : "", n));
    m_bEventChanged = true;
    if (ReadFileLine(file, line) != 0)
        ReadSiteLine(line);
    else
        ReadSiteLine(DefaultSiteLine(m_nSite).c_str());
}
