// The Firmware Upgrade page's firmware file: the choice, "File.cfg" and loading the image.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "framework/FileReader.h"
#include "framework/Files.h"
#include "framework/ModalRunner.h"
#include "shell/XTabCtrl.h"
#include "upgrade/DialogUpgrade.h"

namespace {

const char kHexFilter[] = "Files (*.hex)|*.hex|All Files (*.*)|*.*||";
const char kLindqvarFilter[] = "Lindqvar Files (LQ*.hex)|LQ*.hex|All Files (*.*)|*.*||";
const char kLindqvarPlusFilter[] = "Lindqvar Plus Files (LP*.hex)|LP*.hex|All Files (*.*)|*.*||";
const char kFileConfig[] = "File.cfg";
// More than any path the file dialog gives.
constexpr std::size_t kPathLimit = 4096;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

} // namespace

CDialogUpgrade::LoadResult CDialogUpgrade::ReadFirmware(const std::string& path) {
    m_frames.clear();
    m_nLineCount = 0;
    m_strFileFault.clear();
    // A FIFO or a device in the file's place is not opened; a file past the
    // limit is suspect.
    CFileReader file;
    if (!file.Open(path, kHexFileLimit)) {
        // A missing file needs no reason beyond the text itself.
        if (file.Error() != 0 && file.Error() != ENOENT)
            m_strFileFault = std::strerror(file.Error());
        return LoadResult::NotOpened;
    }
    m_abImage.clear();
    file.ReadRest(&m_abImage);
    if (file.Cut()) {
        m_abImage.clear();
        m_strFileFault = HexFaultText({HexFault::TooLarge, 0});
        return LoadResult::Suspect;
    }
    if (m_abImage.empty()) {
        m_strFileFault = file.Error() != 0 ? std::strerror(file.Error()) : "the file is empty";
        return LoadResult::Empty;
    }
    HexCheck check;
    if (!ConvertHexFile(m_abImage.data(), m_abImage.size(), CheckedDevice() == DeviceType::Px70,
                        &m_frames, &check)) {
        m_strFileFault = HexFaultText(check);
        return LoadResult::Suspect;
    }
    m_nLineCount = int(m_frames.size());
    return LoadResult::Loaded;
}

std::string CDialogUpgrade::FileLineText(const char* text) const {
    return m_strFileFault.empty() ? std::string(text) : std::string(text) + ": " + m_strFileFault;
}

void CDialogUpgrade::WriteFileConfig() {
    if (m_szDataFolder.empty())
        return; // no data folder was published: nowhere to keep it
    WriteFileIfDifferent(JoinPath(m_szDataFolder, kFileConfig), m_strFirmwarePath);
}

void CDialogUpgrade::OnBnClickedSelectFile() {
    m_btnSelectFile.EnableWindow(FALSE);
    m_btnStartUpgrade.EnableWindow(FALSE);
    m_editPassword.EnableWindow(FALSE);
    EnableTabs(FALSE);
    for (int id : {IDC_STEP_PASSWORD, IDC_STEP_ERASE, IDC_STEP_COPY, IDC_STEP_EXECUTE,
                   IDC_STEP_PROGRAMMING, IDC_STEP_COMPLETE})
        ShowStepLabel(id, false);

    FileDialogRequest request;
    request.open = true;
    request.title = "Select Firmware to be Upgraded";
    const DeviceType device = CheckedDevice();
    request.filter = device == DeviceType::Lindqvar       ? kLindqvarFilter
                     : device == DeviceType::LindqvarPlus ? kLindqvarPlusFilter
                                                          : kHexFilter;
    if (m_bFirstBrowse) {
        const std::string recalled = FolderOf(m_strFirmwarePath);
        request.initialFolder = recalled.empty() ? HomeFolder() : recalled;
        m_bFirstBrowse = 0;
    }

    const auto reEnable = [this] {
        m_btnSelectFile.EnableWindow(TRUE);
        m_editPassword.EnableWindow(TRUE);
        m_btnStartUpgrade.EnableWindow(FALSE);
        EnableTabs(TRUE);
    };
    if (!ModalRunner::Get().FileDialog(request)) {
        m_stcFileLine.SetWindowText("No File Selected");
        reEnable();
        return;
    }
    m_strFirmwarePath = request.fileName;
    m_stcFileLine.SetWindowText(m_strFirmwarePath);

    switch (ReadFirmware(m_strFirmwarePath)) {
    case LoadResult::NotOpened:
        m_stcFileLine.SetWindowText(FileLineText("File not Found"));
        reEnable();
        return;
    case LoadResult::Empty:
        m_stcFileLine.SetWindowText(FileLineText("File Could not be Opened"));
        reEnable();
        return;
    case LoadResult::Suspect:
        m_stcFileLine.SetWindowText(FileLineText("File Content Suspect"));
        reEnable();
        return;
    case LoadResult::Loaded:
        break;
    }
    WriteFileConfig();
    SetStatus("Reading File....");
    SetTimer(IDT_UPGRADE_LOAD, 100);
}

void CDialogUpgrade::RecallFirmwareFile() {
    std::string bytes;
    if (m_szDataFolder.empty() ||
        !ReadFileStart(JoinPath(m_szDataFolder, kFileConfig), &bytes, kPathLimit) ||
        bytes.empty()) {
        m_strFirmwarePath.clear();
        m_stcFileLine.SetWindowText("No File Selected");
        m_btnSelectFile.EnableWindow(TRUE);
        m_editPassword.EnableWindow(TRUE);
        return;
    }
    m_strFirmwarePath = bytes.substr(0, bytes.find('\0'));
    m_stcFileLine.SetWindowText(m_strFirmwarePath);
    m_btnSelectFile.EnableWindow(FALSE);
    m_btnStartUpgrade.EnableWindow(FALSE);
    m_editPassword.EnableWindow(FALSE);
    SetStatus("Reading File....");
    SetTimer(IDT_UPGRADE_LOAD, 100);
}

void CDialogUpgrade::LoadImage() {
    KillTimer(IDT_UPGRADE_LOAD);
    {
        CWaitCursor wait;
        switch (ReadFirmware(m_strFirmwarePath)) {
        case LoadResult::Loaded:
            m_btnStartUpgrade.EnableWindow(TRUE);
            break;
        case LoadResult::NotOpened:
            m_strFirmwarePath.clear();
            m_stcFileLine.SetWindowText("No File Selected");
            break;
        case LoadResult::Empty:
        case LoadResult::Suspect:
            m_stcFileLine.SetWindowText(FileLineText("File Content Suspect"));
            break;
        }
        m_btnSelectFile.EnableWindow(TRUE);
        m_editPassword.EnableWindow(TRUE);
        EnableDeviceBoxes(TRUE);
        EnableTabs(TRUE);
        SetStatus("File Read");
    }
}
