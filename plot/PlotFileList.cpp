// The list of dump files and the "Edit / View" button.
#include "framework/Files.h"
#include "framework/TextViewer.h"
#include "plot/DialogPlot.h"
#include "plot/PlotFiles.h"

void CDialogPlot::FillPlotFileList() {
    m_cboPlotFile.ResetContent();
    for (const std::string& name : ListPlotFiles(m_szDataFolder))
        m_cboPlotFile.AddString(name.c_str());
    m_cboPlotFile.SetCurSel(-1);
}

int CDialogPlot::FindPlotFile(const std::string& name) {
    const int count = m_cboPlotFile.GetCount();
    for (int i = 0; i < count; ++i)
        if (m_cboPlotFile.GetLBText(i) == name)
            return i;
    return count - 1;
}

void CDialogPlot::OnDropdownPlotFile() {
    const int remembered = m_cboPlotFile.GetCurSel();
    FillPlotFileList();
    const int count = m_cboPlotFile.GetCount();
    if (count == 0)
        return;
    // The file shown stays selected while it is listed; only when it is gone
    // does the position decide.
    int index = -1;
    if (remembered >= 0 && !m_strListedName.empty())
        for (int i = 0; i < count && index < 0; ++i)
            if (m_cboPlotFile.GetLBText(i) == m_strListedName)
                index = i;
    if (index < 0)
        index = remembered < count ? remembered : count - 1;
    m_cboPlotFile.SetCurSel(index);
    m_strListedName = m_cboPlotFile.GetLBText(m_cboPlotFile.GetCurSel());
}

void CDialogPlot::OnEditView() {
    const int selected = m_cboPlotFile.GetCurSel();
    const std::string path =
        selected < 0 ? std::string() : JoinPath(m_szDataFolder, m_cboPlotFile.GetLBText(selected));
    if (selected < 0 || !CanReadPlotFile(path)) {
        MessageBox("Could not find the Plot File!\n\n", "Warning", MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    const std::string failure = TextViewer::Open(path);
    if (!failure.empty())
        MessageBox(failure.c_str(), "Warning", MB_ICONEXCLAMATION);
}
