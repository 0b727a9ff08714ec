#include "communicate/CaptureDlg.h"

#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "framework/MessageMap.h"
#include "resources/ResourceSelect.h"

namespace {

const MessageMapEntry<CCaptureDlg> kMessageMap[] = {
    OnNotify<CCaptureDlg>(BN_CLICKED, IDC_CAPTURE_RAW, &CCaptureDlg::OnRaw),
    OnNotify<CCaptureDlg>(BN_CLICKED, IDC_CAPTURE_CSV1, &CCaptureDlg::OnCsv1),
    OnNotify<CCaptureDlg>(BN_CLICKED, IDC_CAPTURE_CSV2, &CCaptureDlg::OnCsv2),
    OnNotify<CCaptureDlg>(BN_CLICKED, IDC_CAPTURE_TIDEDA, &CCaptureDlg::OnTideda),
};

} // namespace

CCaptureDlg::CCaptureDlg(CWnd* parent) : CDialog(IDD_CAPTURE, parent) {}

CCaptureDlg::~CCaptureDlg() = default;

BOOL CCaptureDlg::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

void CCaptureDlg::WriteKind(char kind) {
    int error = 0;
    if (!WriteFileIfDifferent(m_strFilePath, std::string(1, kind), &error))
        WarnFileFailure("Could not write", m_strFilePath, error);
}

void CCaptureDlg::OnRaw() {
    WriteKind(char(CaptureKind::Raw));
    EndDialog(IDOK);
}

void CCaptureDlg::OnCsv1() {
    WriteKind(char(CaptureKind::Csv1));
    EndDialog(IDOK);
}

void CCaptureDlg::OnCsv2() {
    WriteKind(char(CaptureKind::Csv2));
    EndDialog(IDOK);
}

void CCaptureDlg::OnTideda() {
    WriteKind(char(CaptureKind::Tideda));
    EndDialog(IDOK);
}

void CCaptureDlg::OnCancel() {
    WriteKind(char(CaptureKind::None));
    EndDialog(IDCANCEL);
}
