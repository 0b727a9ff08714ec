// CDialogUpgrade: the Firmware Upgrade page. The user picks a device type, loads an Intel HEX
// firmware file and programs it into the logger on the Communicate page's serial port, which
// this page borrows through the tab control.
#pragma once

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/ProgressCtrl.h"
#include "resources/ResourceUpgrade.h"
#include "upgrade/DeviceCommands.h"
#include "upgrade/IntelHex.h"
#include "upgrade/ProgrammingSequence.h"

class CXTabCtrl;
class CCommPort;

constexpr UINT IDT_UPGRADE_STARTUP = 30000;
constexpr UINT IDT_UPGRADE_RECALL = 30001;
constexpr UINT IDT_UPGRADE_LOAD = 30014;

class CDialogUpgrade : public CDialog {
public:
    CDialogUpgrade();
    ~CDialogUpgrade() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnTimer(UINT id) override;
    void OnClose() override;
    void OnOK() override {}
    void OnCancel() override {}

    // Firmware file.
    void OnBnClickedSelectFile();
    void RecallFirmwareFile();
    void LoadImage();

    // Device types and the diagnostics view.
    void OnBnClickedDeviceQuenta();
    void OnBnClickedDevicePx70();
    void OnBnClickedDevicePx80();
    void OnBnClickedDeviceFerrant();
    void OnBnClickedDeviceVx5400();
    void OnBnClickedDeviceVx6400();
    void OnBnClickedDeviceLindqvar();
    void OnBnClickedDeviceLindqvarPlus();
    void OnBnClickedMore();
    void OnBnClickedStopUpgrade();
    void OnBnClickedSendReset();

    // The send primitive: m_abTx, with the echo read back and dropped when `echo`.
    void SendCommand(bool echo);

    // The programming sequence (ProgrammingSequence holds its steps).
    void OnBnClickedStartUpgrade();
    void OnSequenceTimer(UINT id);
    // The program ends by a signal: no further frame, the line's settings back as Stop
    // leaves them.
    void EndForSignal();

    // State a test may look at.
    DeviceType CheckedDevice() const;
    const std::string& GetFirmwarePath() const { return m_strFirmwarePath; }
    int GetFrameCount() const { return m_nLineCount; }
    int GetProgress() const { return m_progress.GetPos(); }

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;

private:
    bool IsCurrent(int page) const;
    // The shared port as the tab control holds it now; null when none is open.
    CCommPort* TakePort();
    void SelectDevice(int boxId);
    void ShowDiagnosticButtons();
    void EnableTabs(BOOL enable);
    // Page controls: "Select File", "Start Upgrade", the password edit, the device boxes.
    void EnableDeviceBoxes(BOOL enable);
    void ReleasePage();
    void ShowStepLabel(int id, bool show);
    void HideStepLabels();
    void SetStatus(const char* text);
    void Warn(const char* text);
    // Writes the file's path into "File.cfg"; a failure is ignored.
    void WriteFileConfig();
    // Reads and checks the chosen file into the image and its frames.
    enum class LoadResult { Loaded, NotOpened, Empty, Suspect };
    LoadResult ReadFirmware(const std::string& path);
    // `text`, and the reason of the last refusal after ": ".
    std::string FileLineText(const char* text) const;
    // One Read of at most `count` bytes into m_abRx, after SetTimeouts(ms).
    DWORD ReadReply(DWORD count, DWORD ms);
    // Purge, write and, with `echo`, read back what the line gives back.
    void SendBytes(const BYTE* bytes, int length, bool echo);
    // The baud rate; with 7 data bits even parity and seven bits after it.
    void SetLine(DWORD baud, int byteSize);
    void KillSteps();
    // Does what the sequence asks, feeding it the replies read and the answers given.
    void Perform(ProgrammingSequence::Effects effects);

    CCommPort* m_pCommPort = nullptr;
    std::string m_strFirmwarePath;
    int m_nTxLength = 0;
    BYTE m_abTx[500] = {};
    BYTE m_abRx[500] = {};
    BYTE m_bFirstBrowse = 1;
    // Frames in the loaded image (a standard file's record lines); never 0 once loaded.
    int m_nLineCount = 0;
    // The firmware file's bytes as read, and the frames made of them.
    std::string m_abImage;
    std::vector<HexFrame> m_frames;
    // Why the last ReadFirmware refused the file, added to the file line's text.
    std::string m_strFileFault;
    std::string m_szDataFolder;
    BYTE m_bMore = 0;
    // The steps, their counts, the stop request and the saved line settings.
    ProgrammingSequence m_sequence;

    CStatic m_stcNoteVx6400;
    CStatic m_stcNoteVx5400;
    CButton m_chkVx6400;
    CStatic m_stcPasswordLabel;
    CButton m_chkVx5400;
    CStatic m_stcTxLabel;
    CStatic m_stcSendLabel;
    CStatic m_stcRxLabel;
    CStatic m_stcReSendLabel;
    CButton m_btnMore;
    CButton m_btnStopUpgrade;
    CButton m_btnSendReset;
    CStatic m_stcTxLine;
    CStatic m_stcRxLine;
    CStatic m_stcSendCount;
    CStatic m_stcReSendCount;
    CButton m_chkPx80;
    CButton m_chkQuenta;
    CButton m_chkPx70;
    CButton m_chkFerrant;
    CStatic m_stcComplete;
    CStatic m_stcVersion;
    CStatic m_stcStatus;
    CStatic m_stcProgramming;
    CStatic m_stcPasswordAccepted;
    CStatic m_stcFileLine;
    CStatic m_stcErase;
    CStatic m_stcExecute;
    CStatic m_stcCopy;
    CProgressCtrl m_progress;
    CEdit m_editPassword;
    CButton m_btnStartUpgrade;
    CButton m_btnSelectFile;
    CButton m_chkLindqvar;
    CButton m_chkLindqvarPlus;
    CStatic m_stcNoteLindqvar;
    CStatic m_stcNoteLindqvarPlus;
};
