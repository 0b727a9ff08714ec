// CDialogEditSchedule: the modal "Edit Schedule" dialog for one site's
// "site.cfg" and "last.cfg" lines, with the "copy.cfg" template.
//
//     CDialogEditSchedule dlg;
//     dlg.SetDataFolder(folder);   // the data folder
//     dlg.SetSite(site);           // 1..300
//     dlg.DoModal();               // then re-read the site's two lines
#pragma once

#include <string>

#include "framework/DateTimeCtrl.h"
#include "framework/Dialog.h"
#include "resources/ResourceSchedule.h"
#include "schedule/DumpEventFile.h"

class CDialogEditSchedule : public CDialog {
public:
    enum { IDT_DIRECT_TOGGLE = 20000 };

    explicit CDialogEditSchedule(CWnd* parent = nullptr);
    ~CDialogEditSchedule() override = default;

    void SetSite(int site) { m_nSite = site; }
    void SetDataFolder(const std::string& folder) { m_strDataFolder = folder; }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnTimer(UINT id) override;

    // Template buttons.
    void OnSaveTemplate();
    void OnUseTemplate();
    // Capture form of each command.
    void OnCmd1Raw() { SetForm(0, 'R'); }
    void OnCmd1Csv1() { SetForm(0, '1'); }
    void OnCmd1Csv2() { SetForm(0, '2'); }
    void OnCmd1Tideda() { SetForm(0, 'T'); }
    void OnCmd2Raw() { SetForm(1, 'R'); }
    void OnCmd2Csv1() { SetForm(1, '1'); }
    void OnCmd2Csv2() { SetForm(1, '2'); }
    void OnCmd2Tideda() { SetForm(1, 'T'); }
    void OnCmd3Raw() { SetForm(2, 'R'); }
    void OnCmd3Csv1() { SetForm(2, '1'); }
    void OnCmd3Csv2() { SetForm(2, '2'); }
    void OnCmd3Tideda() { SetForm(2, 'T'); }
    // Interval unit.
    void OnUnitDays() { SetUnit('D'); }
    void OnUnitHours() { SetUnit('H'); }
    void OnUnitMinutes() { SetUnit('M'); }
    // Append toggles.
    void OnCmd1Append() { ToggleAppend(0); }
    void OnCmd2Append() { ToggleAppend(1); }
    void OnCmd3Append() { ToggleAppend(2); }
    // Tracked command and its stored event.
    void OnCmd1SaveDumpEvent() { ToggleTracked(1); }
    void OnCmd2SaveDumpEvent() { ToggleTracked(2); }
    void OnCmd3SaveDumpEvent() { ToggleTracked(3); }
    void OnClearDumpEvent();
    void OnDirectConnection();

    // Sets every control from a "site.cfg" line.
    void ReadSiteLine(const char* line);
    // The lines OK and the template write, from the controls and members.
    std::string SiteLineFromControls();
    std::string DumpEventLineFromControls() const;

    // Controls, in the order they are bound.
    CStatic m_stEvent3, m_stEvent2, m_stEvent1;
    CComboBox m_cbRetries;
    CButton m_btnClear3, m_btnClear2, m_btnClear1;
    CDateTimeCtrl m_dtDate, m_dtTime;
    CEdit m_edCmd3, m_edCmd2, m_edCmd1;
    CEdit m_edFile3, m_edFile2, m_edFile1;
    CEdit m_edInterval, m_edPhone, m_edName;
    CButton m_btnOK, m_grpSite, m_btnSaveTemplate, m_btnUseTemplate;
    CButton m_btnCmd1Csv1, m_btnCmd2Csv1, m_btnCmd3Csv1;
    CButton m_btnCmd1Csv2, m_btnCmd2Csv2, m_btnCmd3Csv2;
    CButton m_btnUnitDays, m_btnUnitHours, m_btnUnitMin;
    CButton m_btnCmd1Raw, m_btnCmd2Raw, m_btnCmd3Raw;
    CButton m_btnCmd1Tideda, m_btnCmd2Tideda, m_btnCmd3Tideda;
    CButton m_btnAppend1, m_btnAppend2, m_btnAppend3;
    CButton m_btnSaveEvent1, m_btnSaveEvent2, m_btnSaveEvent3;

    int m_nSite = 1;
    char m_szLastDumpEvent[kDumpEventSize] = "";
    char m_cDumpEventCommand = '\0';
    char m_cDumpEventRepeats = '1';
    char m_szDumpEventTotal[kEventTotalSize] = "0.0";
    std::string m_strDataFolder;
    std::string m_strPhone;
    CButton m_btnDirect;

private:
    struct CommandControls {
        CEdit* command;
        CEdit* file;
        CButton* append;
        CButton* forms[4]; // Raw, CSV1, CSV2, Tideda
        CButton* save;
        CStatic* event;
        CButton* clear;
    };
    CommandControls Command(int k); // 0..2

    void SetForm(int k, char form);
    void SetUnit(char unit);
    void ToggleAppend(int k);
    void ToggleTracked(int tracked);
    // Shows the stored event and Clear of command `tracked` (1..3) only.
    void ShowTrackedEvent(int tracked);
    void ShowEventText();
    void SetDirect(bool direct);
    void LimitInput();
    std::string Path(const char* name) const;
    // The members of a "last.cfg" or template line's record.
    void TakeDumpEvent(const DumpEventRecord& record);

    // State the controls show, kept here because the radio-styled buttons
    // change themselves on a click.
    char m_cForm[3] = {'R', 'R', 'R'};
    char m_cUnit = 'D';
    bool m_bAppend[3] = {false, false, false};
    int m_nTracked = 0; // 0 none, 1..3
    // The direct-link state last applied to the phone box.
    bool m_bDirectApplied = false;
    // The stored event was cleared or taken from the template here.
    bool m_bEventChanged = false;
};
