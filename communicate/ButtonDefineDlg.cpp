#include "communicate/ButtonDefineDlg.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "framework/FileWarning.h"
#include "framework/MessageMap.h"
#include "framework/Text.h"

namespace {

const MessageMapEntry<CButtonDefineDlg> kMessageMap[] = {
    OnNotify<CButtonDefineDlg>(BN_CLICKED, IDC_DEFINE_NEXT_LEVEL, &CButtonDefineDlg::OnNextLevel),
    OnNotify<CButtonDefineDlg>(BN_CLICKED, IDC_DEFINE_PREV_LEVEL, &CButtonDefineDlg::OnPrevLevel),
};

constexpr int kCaptionChars = 13;
constexpr int kDataChars = 59;

// A comma would split the definition when the file is read back.
void RefuseCommas(CEdit& edit, int limit) {
    edit.SetLimitText(limit);
    if (auto* line = qobject_cast<QLineEdit*>(edit.GetWidget())) {
        static const QRegularExpression noComma(QStringLiteral("[^,]*"));
        line->setValidator(new QRegularExpressionValidator(noComma, line));
    }
}

// The row's plot check box: m_chkPlot runs from row 8 down to row 1.
int PlotSlot(int row) {
    return 8 - row;
}

} // namespace

CButtonDefineDlg::CButtonDefineDlg() : CDialog(IDD_BUTTON_DEFINE) {}

void CButtonDefineDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (int row = 8; row >= 1; --row)
        DDX_Control(pDX, IDC_DEFINE_PLOT_ROWS[row - 1], m_chkPlot[PlotSlot(row)]);
    for (int row = 1; row <= 8; ++row)
        DDX_Control(pDX, IDC_DEFINE_CAPTION1 + 2 * (row - 1), m_editCaption[row - 1]);
    for (int row = 1; row <= 8; ++row)
        DDX_Control(pDX, IDC_DEFINE_DATA1 + 2 * (row - 1), m_editData[row - 1]);
    DDX_Control(pDX, IDC_DEFINE_LEVEL, m_stcLevel);
}

void CButtonDefineDlg::SetDefinitions(ButtonArrays buttons) {
    for (int i = 1; i <= kButtonCount; ++i) {
        m_strCaption[i] = buttons.caption[i];
        m_strData[i] = buttons.data[i];
        m_bPlot[i] = buttons.plot[i];
    }
}

BOOL CButtonDefineDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int row = 0; row < 8; ++row) {
        RefuseCommas(m_editCaption[row], kCaptionChars);
        RefuseCommas(m_editData[row], kDataChars);
    }
    ShowLevel();
    SetTimer(IDT_LOADBUTTONS, 100);
    return TRUE;
}

void CButtonDefineDlg::OnTimer(UINT id) {
    if (id != IDT_LOADBUTTONS) {
        CDialog::OnTimer(id);
        return;
    }
    KillTimer(IDT_LOADBUTTONS);
    // When the file cannot be read the rows keep what the page gave.
    ReadButtonFile(m_strFilePath, Arrays());
    ShowLevel();
}

BOOL CButtonDefineDlg::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

void CButtonDefineDlg::ShowLevel() {
    m_stcLevel.SetWindowText(Format("Level %d", m_nLevel));
    for (int row = 1; row <= 8; ++row) {
        const int index = (m_nLevel - 1) * 8 + row;
        m_editCaption[row - 1].SetWindowText(m_strCaption[index]);
        m_editData[row - 1].SetWindowText(m_strData[index]);
        m_chkPlot[PlotSlot(row)].SetCheck(m_bPlot[index] ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CButtonDefineDlg::SaveLevel() {
    for (int row = 1; row <= 8; ++row) {
        const int index = (m_nLevel - 1) * 8 + row;
        m_strCaption[index] = m_editCaption[row - 1].GetWindowText().substr(0, kCaptionChars);
        m_strData[index] = m_editData[row - 1].GetWindowText().substr(0, kDataChars);
        m_bPlot[index] = m_chkPlot[PlotSlot(row)].GetCheck() == BST_CHECKED ? 1 : 0;
    }
}

void CButtonDefineDlg::OnNextLevel() {
    SaveLevel();
    m_nLevel = m_nLevel >= 9 ? 1 : m_nLevel + 1;
    ShowLevel();
}

void CButtonDefineDlg::OnPrevLevel() {
    SaveLevel();
    m_nLevel = m_nLevel <= 1 ? 9 : m_nLevel - 1;
    ShowLevel();
}

void CButtonDefineDlg::OnOK() {
    SaveLevel();
    int error = 0;
    if (!WriteButtonFile(m_strFilePath, Arrays(), &error)) {
        // The dialog stays open, so that no edit is lost.
        WarnFileFailure("Could not write", m_strFilePath, error);
        return;
    }
    CDialog::OnOK();
}
