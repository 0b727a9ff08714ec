// The Firmware Upgrade page's device-type boxes and diagnostics view.
#include "upgrade/DialogUpgrade.h"

namespace {

struct DeviceBox {
    int id;
    DeviceType type;
    bool password; // the password edit and its label are shown
    int note;      // the SDI-12 note shown, 0 none
};

const DeviceBox kDeviceBoxes[] = {
    {IDC_DEVICE_QUENTA, DeviceType::Quenta, true, 0},
    {IDC_DEVICE_PX70, DeviceType::Px70, true, 0},
    {IDC_DEVICE_PX80, DeviceType::Px80, true, 0},
    {IDC_DEVICE_FERRANT, DeviceType::Ferrant, false, 0},
    {IDC_DEVICE_VX5400, DeviceType::Vx5400, false, IDC_NOTE_VX5400},
    {IDC_DEVICE_VX6400, DeviceType::Vx6400, false, IDC_NOTE_VX6400},
    {IDC_DEVICE_LINDQVAR, DeviceType::Lindqvar, false, IDC_NOTE_LINDQVAR},
    {IDC_DEVICE_LINDQVAR_PLUS, DeviceType::LindqvarPlus, false, IDC_NOTE_LINDQVAR_PLUS},
};

} // namespace

DeviceType CDialogUpgrade::CheckedDevice() const {
    for (const DeviceBox& box : kDeviceBoxes) {
        auto* button = Item<CButton>(box.id);
        if (button && button->GetCheck() == BST_CHECKED)
            return box.type;
    }
    return DeviceType::Quenta;
}

void CDialogUpgrade::SelectDevice(int boxId) {
    const DeviceBox* chosen = &kDeviceBoxes[0];
    for (const DeviceBox& box : kDeviceBoxes) {
        if (box.id == boxId)
            chosen = &box;
        if (auto* button = Item<CButton>(box.id))
            button->SetCheck(box.id == boxId ? BST_CHECKED : BST_UNCHECKED);
    }
    for (int note : {IDC_NOTE_VX5400, IDC_NOTE_VX6400, IDC_NOTE_LINDQVAR, IDC_NOTE_LINDQVAR_PLUS})
        ShowStepLabel(note, false);
    if (chosen->note != 0)
        ShowStepLabel(chosen->note, true);
    m_editPassword.ShowWindow(chosen->password ? SW_SHOW : SW_HIDE);
    m_stcPasswordLabel.ShowWindow(chosen->password ? SW_SHOW : SW_HIDE);

    // The path and the image stay, but the file must be chosen again for this type.
    m_stcFileLine.SetWindowText("No File Selected");
    m_btnStartUpgrade.EnableWindow(FALSE);
    if (m_bMore)
        ShowDiagnosticButtons();
}

void CDialogUpgrade::ShowDiagnosticButtons() {
    const int show = CheckedDevice() == DeviceType::Px70 ? SW_HIDE : SW_SHOW;
    m_btnStopUpgrade.ShowWindow(show);
    m_btnSendReset.ShowWindow(show);
}

void CDialogUpgrade::OnBnClickedDeviceQuenta() {
    SelectDevice(IDC_DEVICE_QUENTA);
}
void CDialogUpgrade::OnBnClickedDevicePx70() {
    SelectDevice(IDC_DEVICE_PX70);
}
void CDialogUpgrade::OnBnClickedDevicePx80() {
    SelectDevice(IDC_DEVICE_PX80);
}
void CDialogUpgrade::OnBnClickedDeviceFerrant() {
    SelectDevice(IDC_DEVICE_FERRANT);
}
void CDialogUpgrade::OnBnClickedDeviceVx5400() {
    SelectDevice(IDC_DEVICE_VX5400);
}
void CDialogUpgrade::OnBnClickedDeviceVx6400() {
    SelectDevice(IDC_DEVICE_VX6400);
}
void CDialogUpgrade::OnBnClickedDeviceLindqvar() {
    SelectDevice(IDC_DEVICE_LINDQVAR);
}
void CDialogUpgrade::OnBnClickedDeviceLindqvarPlus() {
    SelectDevice(IDC_DEVICE_LINDQVAR_PLUS);
}

void CDialogUpgrade::OnBnClickedMore() {
    CStatic* view[] = {&m_stcTxLabel,   &m_stcTxLine,    &m_stcRxLabel,     &m_stcRxLine,
                       &m_stcSendLabel, &m_stcSendCount, &m_stcReSendLabel, &m_stcReSendCount};
    if (m_bMore) {
        m_bMore = 0;
        for (CStatic* item : view)
            item->ShowWindow(SW_HIDE);
        m_btnStopUpgrade.ShowWindow(SW_HIDE);
        m_btnSendReset.ShowWindow(SW_HIDE);
        m_btnMore.SetWindowText("More +");
        return;
    }
    m_bMore = 1;
    for (CStatic* item : view)
        item->ShowWindow(SW_SHOW);
    m_btnMore.SetWindowText("Hide");
    ShowDiagnosticButtons();
}
