// CButtonDefineDlg: "Button Definitions", the modal editor of the 72 user
// buttons, eight rows a level; OK rewrites "buttn.cfg".
#pragma once

#include <string>

#include "communicate/ButtonConfig.h"
#include "framework/Dialog.h"
#include "resources/ResourceSelect.h"

constexpr UINT IDT_LOADBUTTONS = 10007;

class CButtonDefineDlg : public CDialog {
public:
    CButtonDefineDlg();
    ~CButtonDefineDlg() override = default;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnTimer(UINT id) override;

    void SetFilePath(const std::string& path) { m_strFilePath = path; }
    void SetLevel(int level) { m_nLevel = level; }
    // The definitions the page shows, so that the rows are never empty
    // while the file is read or when it cannot be.
    void SetDefinitions(ButtonArrays buttons);

    void OnNextLevel();
    void OnPrevLevel();
    void ShowLevel();
    void SaveLevel();

private:
    ButtonArrays Arrays() { return {m_strCaption, m_strData, m_bPlot}; }

    CButton m_chkPlot[8]; // rows 8 down to 1, as the ids run
    CEdit m_editCaption[8];
    CEdit m_editData[8];
    std::string m_strCaption[kButtonSlots];
    std::string m_strData[kButtonSlots];
    unsigned char m_bPlot[kButtonSlots] = {};
    std::string m_strFilePath;
    int m_nLevel = 1;
    CStatic m_stcLevel;
};
