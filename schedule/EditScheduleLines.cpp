// The Edit Schedule dialog's controls to and from the lines of "site.cfg",
// "last.cfg" and "copy.cfg".
#include "schedule/DialogEditSchedule.h"
#include "schedule/SiteFile.h"

#include <cstring>

CDialogEditSchedule::CommandControls CDialogEditSchedule::Command(int k) {
    switch (k) {
    case 0:
        return {&m_edCmd1,        &m_edFile1,
                &m_btnAppend1,    {&m_btnCmd1Raw, &m_btnCmd1Csv1, &m_btnCmd1Csv2, &m_btnCmd1Tideda},
                &m_btnSaveEvent1, &m_stEvent1,
                &m_btnClear1};
    case 1:
        return {&m_edCmd2,        &m_edFile2,
                &m_btnAppend2,    {&m_btnCmd2Raw, &m_btnCmd2Csv1, &m_btnCmd2Csv2, &m_btnCmd2Tideda},
                &m_btnSaveEvent2, &m_stEvent2,
                &m_btnClear2};
    default:
        return {&m_edCmd3,        &m_edFile3,
                &m_btnAppend3,    {&m_btnCmd3Raw, &m_btnCmd3Csv1, &m_btnCmd3Csv2, &m_btnCmd3Tideda},
                &m_btnSaveEvent3, &m_stEvent3,
                &m_btnClear3};
    }
}

void CDialogEditSchedule::ReadSiteLine(const char* line) {
    const SiteRecord record = ParseSiteLine(line);
    m_edName.SetWindowText(record.name);

    // The box and the phone box follow every line read, template included.
    m_strPhone = record.phone;
    const bool direct = !m_strPhone.empty() && m_strPhone[0] == 'D';
    m_edPhone.EnableWindow(!direct);
    m_edPhone.SetWindowText(direct ? std::string("Direct") : m_strPhone);
    m_btnDirect.SetCheck(direct ? BST_CHECKED : BST_UNCHECKED);
    m_bDirectApplied = direct;

    m_cbRetries.SetCurSel(record.attempts - 1);

    // A start that is no real date in the pickers' years is 00:00 01-01-2008.
    StartTime start;
    if (!ReadStartField(record.start, &start) || !IsRealStartTime(start) || start.year < 1980 ||
        start.year > 2079)
        start = StartTime{};
    LocalTime when;
    when.year = start.year;
    when.month = start.month;
    when.day = start.day;
    when.hour = start.hour;
    when.minute = start.minute;
    m_dtTime.SetTime(when);
    m_dtDate.SetTime(when);

    bool digits = !record.interval.empty();
    for (char c : record.interval)
        digits = digits && c >= '0' && c <= '9';
    m_edInterval.SetWindowText(digits ? record.interval : std::string("0"));
    SetUnit(record.unit);

    m_nTracked =
        m_cDumpEventCommand >= '1' && m_cDumpEventCommand <= '3' ? m_cDumpEventCommand - '0' : 0;
    for (int k = 0; k < 3; ++k) {
        const SiteCommand& cmd = record.commands[k];
        CommandControls c = Command(k);
        c.command->SetWindowText(cmd.command);
        c.save->SetCheck(m_nTracked == k + 1 ? BST_CHECKED : BST_UNCHECKED);
        c.file->SetWindowText(cmd.file);
        m_bAppend[k] = cmd.append;
        c.append->SetCheck(cmd.append ? BST_CHECKED : BST_UNCHECKED);
        SetForm(k, cmd.form);
    }
    ShowEventText();
    ShowTrackedEvent(m_nTracked);
}

std::string CDialogEditSchedule::SiteLineFromControls() {
    SiteRecord record;
    record.site = m_nSite;
    record.name = m_edName.GetWindowText();
    record.phone = m_bDirectApplied ? m_strPhone : m_edPhone.GetWindowText();
    const int index = m_cbRetries.GetCurSel();
    record.attempts = index >= 0 && index <= 8 ? index + 1 : 1;
    const LocalTime time = m_dtTime.GetTime();
    const LocalTime date = m_dtDate.GetTime();
    record.start = FormatStartField({time.hour, time.minute, date.day, date.month, date.year});
    record.interval = m_edInterval.GetWindowText();
    record.unit = m_cUnit;
    for (int k = 0; k < 3; ++k) {
        CommandControls c = Command(k);
        record.commands[k].command = c.command->GetWindowText();
        record.commands[k].file = c.file->GetWindowText();
        record.commands[k].append = m_bAppend[k];
        record.commands[k].form = m_cForm[k];
    }
    return FormatSiteLine(record);
}

std::string CDialogEditSchedule::DumpEventLineFromControls() const {
    if (m_nTracked == 0)
        return DefaultDumpEventLine();
    DumpEventRecord record;
    record.command = char('0' + m_nTracked);
    std::memcpy(record.event, m_szLastDumpEvent, sizeof record.event);
    record.repeats = m_cDumpEventRepeats;
    std::memcpy(record.total, m_szDumpEventTotal, sizeof record.total);
    return FormatDumpEventLine(record);
}
