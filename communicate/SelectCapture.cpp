// The Communicate page's capture file: "Start Capture", the Capture Format
// and save dialogs, and the writers the poll and the senders call.
#include "communicate/CaptureDlg.h"
#include "communicate/DialogSelect.h"
#include "framework/FileReader.h"
#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "framework/ModalRunner.h"

namespace {

struct CaptureForm {
    const char* caption;
    const char* filter;
};

// By CaptureKind.
const CaptureForm kForms[5] = {
    {"Start Capture", ""},
    {"Stop Raw Capture", "Raw Capture Files (*.txt)|*.txt|All Files (*.*)|*.*||"},
    {"Stop CSV-1 Capture", "CSV1 Capture Files (*.csv)|*.csv|All Files (*.*)|*.*||"},
    {"Stop CSV-2 Capture", "CSV2 Capture Files (*.csv)|*.csv|All Files (*.*)|*.*||"},
    {"Stop Tideda Capture", "Tideda Capture Files (*.txt)|*.txt|All Files (*.*)|*.*||"},
};

} // namespace

bool CDialogSelect::CaptureSink::WriteCapture(const char* bytes, std::size_t count) {
    return m_pPage->m_fileCapture.Write(bytes, count);
}

void CDialogSelect::CaptureSink::ShowDumpDate(const std::string& text) {
    m_pPage->m_stcDumpDate.SetWindowText(text);
}

void CDialogSelect::OnStartCapture() {
    if (m_nCaptureKind != CaptureKind::None) {
        StopCapture();
        m_editTerminal.SetFocus();
        return;
    }
    // A capture started by hand never skips.
    m_capture.StopTracking();

    const std::string capCfg = JoinPath(m_szDataFolder, "cap.cfg");
    {
        CCaptureDlg dlg(this);
        dlg.SetFilePath(capCfg);
        dlg.DoModal();
    }
    if (ModalRunner::Get().IsEnding())
        return; // no capture starts while the program ends
    // Whatever the dialog returned, the file says which form.
    char kind = 0;
    {
        CFileReader file;
        if (file.Open(capCfg, 1))
            file.Read(&kind, 1);
    }
    const CaptureKind form = CaptureKindOfByte(kind);
    if (form == CaptureKind::None) {
        m_editTerminal.SetFocus();
        return;
    }
    m_btnCapture.SetWindowText(kForms[int(form)].caption);
    m_capture.StartCapture(form);

    FileDialogRequest request;
    request.open = false;
    request.filter = kForms[int(form)].filter;
    request.overwritePrompt = false;
    request.title = "Capture File to save data";
    request.initialFolder = m_szCaptureFolder.empty() ? m_szDataFolder : m_szCaptureFolder;
    if (!ModalRunner::Get().FileDialog(request)) {
        m_btnCapture.SetWindowText("Start Capture");
        m_stcCaptureFile.SetWindowText("");
        m_nCaptureKind = CaptureKind::None;
        m_editTerminal.SetFocus();
        return;
    }
    const std::string& path = request.fileName;
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos)
        m_szCaptureFolder = path.substr(0, slash == 0 ? 1 : slash);
    m_stcCaptureFile.SetWindowText(slash == std::string::npos ? path : path.substr(slash + 1));
    // Every capture appends; a file that will not open is not told.
    if (m_fileCapture.Open(path, true)) {
        m_nCaptureKind = form;
    } else {
        m_btnCapture.SetWindowText("Start Capture");
        m_stcCaptureFile.SetWindowText("");
        m_nCaptureKind = CaptureKind::None;
    }
    m_editTerminal.SetFocus();
}

void CDialogSelect::StopCapture() {
    if (m_nCaptureKind == CaptureKind::None)
        return;
    m_fileCapture.Close();
    m_btnCapture.SetWindowText("Start Capture");
    m_stcCaptureFile.SetWindowText("");
    m_nCaptureKind = CaptureKind::None;
}

void CDialogSelect::CaptureWriteFailed() {
    const std::string path = m_fileCapture.GetFilePath();
    const int error = m_fileCapture.GetLastError();
    StopCapture();
    WarnFileFailure("Could not write the capture file", path, error);
}

void CDialogSelect::CaptureRawLines(const char* bytes, int count) {
    if (!m_capture.CaptureRawLines(bytes, count))
        CaptureWriteFailed();
}

void CDialogSelect::CaptureFormattedLines(const char* bytes, int count) {
    if (!m_capture.CaptureFormattedLines(m_nCaptureKind, bytes, count))
        CaptureWriteFailed();
}

void CDialogSelect::WriteRawCapture(const char* bytes, int count) {
    // Sent bytes go to a Raw capture as they are, outside the line buffer.
    if (m_nCaptureKind != CaptureKind::Raw || count <= 0)
        return;
    if (!m_fileCapture.Write(bytes, std::size_t(count)))
        CaptureWriteFailed();
}
