// The Communicate page's user buttons: nine levels of eight, kept in
// "buttn.cfg", and the Button Definitions dialog behind a right click.
#include "communicate/ButtonDefineDlg.h"
#include "communicate/DialogSelect.h"
#include "framework/FileWarning.h"
#include "framework/ModalRunner.h"
#include "framework/Text.h"
#include "shell/XTabCtrl.h"

std::string CDialogSelect::ButtonFilePath() const {
    return JoinPath(m_szDataFolder, "buttn.cfg");
}

void CDialogSelect::LoadButtons() {
    if (ReadButtonFile(ButtonFilePath(), ButtonsOfPage())) {
        ShowButtonLevel();
        return;
    }
    FillDefaultButtons(ButtonsOfPage());
    int error = 0;
    // Unsynced: defaults lost to a power cut are written again.
    if (!WriteButtonFile(ButtonFilePath(), ButtonsOfPage(), &error, false)) {
        // The defaults stay in force for the run; the user hears of it once
        // the start-up step is over (a box inside it would let the other
        // pages start before it has finished).
        m_nButtonFileError = error ? error : -1;
        SetTimer(IDT_BUTTONWARNING, 10);
    }
    m_nButtonLevel = 1;
    ShowButtonLevel();
}

void CDialogSelect::ShowButtonLevel() {
    m_stcLevel.SetWindowText(Format("Level %d", m_nButtonLevel));
    for (int k = 1; k <= 8; ++k)
        m_btnUser[k - 1].SetWindowText(m_strCaption[(m_nButtonLevel - 1) * 8 + k]);
    for (CStatic& label : m_stcFileLabel)
        label.SetWindowText("");
    const bool dumpOpen = HasDumpFile(m_nDumpState);
    if (dumpOpen && m_pTabCtrl && m_nButtonIndex >= 1 &&
        (m_nButtonIndex - 1) / 8 + 1 == m_nButtonLevel)
        m_stcFileLabel[(m_nButtonIndex - 1) % 8].SetWindowText(m_pTabCtrl->GetPlotFileName());
}

void CDialogSelect::OnNextLevel() {
    m_nButtonLevel = m_nButtonLevel >= 9 ? 1 : m_nButtonLevel + 1;
    ShowButtonLevel();
    m_editTerminal.SetFocus();
}

void CDialogSelect::OnPrevLevel() {
    m_nButtonLevel = m_nButtonLevel <= 1 ? 9 : m_nButtonLevel - 1;
    ShowButtonLevel();
    m_editTerminal.SetFocus();
}

void CDialogSelect::OnButtonClicked(UINT id) {
    for (int k = 1; k <= 8; ++k) {
        if (kUserButtonIds[k - 1] == int(id))
            OnUserButton(k);
    }
}

void CDialogSelect::OnDefineButtons(UINT id) {
    (void)id; // every button opens the page's level
    CButtonDefineDlg dialog;
    dialog.SetFilePath(ButtonFilePath());
    dialog.SetLevel(m_nButtonLevel);
    dialog.SetDefinitions(ButtonsOfPage());
    dialog.DoModal();
    if (ModalRunner::Get().IsEnding())
        return;
    LoadButtons();
}
