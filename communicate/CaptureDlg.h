// CCaptureDlg: the modal "Capture Format" dialog. Each form button writes
// its CaptureKind as one byte to "cap.cfg" and ends the dialog; Cancel
// writes 0. The page reads the byte back.
#pragma once

#include <string>

#include "communicate/CaptureKind.h"
#include "framework/Dialog.h"

class CCaptureDlg : public CDialog {
public:
    explicit CCaptureDlg(CWnd* parent = nullptr);
    ~CCaptureDlg() override;

    void SetFilePath(const std::string& path) { m_strFilePath = path; }

    BOOL OnCommand(UINT id, UINT code) override;
    void OnCancel() override;

    void OnRaw();
    void OnCsv1();
    void OnCsv2();
    void OnTideda();

private:
    // Writes `kind` as the one byte of "cap.cfg"; a file that cannot be
    // written is told, and the dialog ends all the same.
    void WriteKind(char kind);

    std::string m_strFilePath;
};
