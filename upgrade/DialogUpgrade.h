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

class CXTabCtrl;
class CCommPort;

constexpr UINT IDT_UPGRADE_STARTUP = 30000;
constexpr UINT IDT_UPGRADE_RECALL = 30001;
// The programming sequence, one one-shot timer per step.
constexpr UINT IDT_SDI12_ADDRESS_QUERY = 30002;
constexpr UINT IDT_SDI12_ADDRESS_REPLY = 30003;
constexpr UINT IDT_SDI12_PROGRAM_COMMAND = 30004;
constexpr UINT IDT_SDI12_PROGRAM_REPLY = 30005;
constexpr UINT IDT_SDI12_LATE_REPLY = 30006;
constexpr UINT IDT_LOGGER_PASSWORD = 30007;
constexpr UINT IDT_LOGGER_PROGRAM_MODE = 30008;
constexpr UINT IDT_LOGGER_COPY_STAGE = 30009;
constexpr UINT IDT_LOGGER_EXECUTE_STAGE = 30010;
constexpr UINT IDT_START_RECORDS = 30011;
constexpr UINT IDT_RECORDS = 30012;
constexpr UINT IDT_NEW_VERSION = 30013;
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

    // Records and the send primitive.
    void SendCommand();
    int SendNextRecord();
    int ResendRecord();

    // The programming sequence.
    void OnBnClickedStartUpgrade();
    int CheckPassword();
    int ReadNewVersion();
    void SendProgramModeRequest();

    // State a test may look at.
    DeviceType CheckedDevice() const;
    const std::string& GetFirmwarePath() const { return m_strFirmwarePath; }
    int GetFrameCount() const { return m_nLineCount; }
    int GetSendCount() const { return m_nSendCount; }
    int GetReSendCount() const { return m_nReSendCount; }
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
    void RestoreLineSettings();
    void EndSdi12Road();
    void ShowStepLabel(int id, bool show);
    void HideStepLabels();
    void SetStatus(const char* text);
    void Warn(const char* text);
    // Writes the file's path into "File.cfg"; a failure is ignored.
    void WriteFileConfig();
    // Reads and checks the chosen file into the image and its frames.
    enum class LoadResult { Loaded, NotOpened, Empty, Suspect };
    LoadResult ReadFirmware(const std::string& path);
    // One Read of at most `count` bytes into m_abRx, after SetTimeouts(ms).
    DWORD ReadReply(DWORD count, DWORD ms);
    std::string ReplyText(DWORD count) const;
    void ShowRxLine(DWORD count);
    // Purge, write and, for the SDI-12 types, read back the echo.
    void SendBytes(const BYTE* bytes, int length);
    // A command through m_abTx (cut to its size) and SendCommand.
    void SendText(const char* text, std::size_t length);
    void SendText(const char* text);
    void ArmStep(UINT id, UINT ms);
    void KillSteps();
    // A step's timer is one-shot; the line's hang-up timeout starts again.
    void BeginStep(UINT id);

    // The steps of the sequence.
    void StepSdi12AddressQuery();
    void StepSdi12AddressReply();
    void StepSdi12ProgramCommand();
    void StepSdi12ProgramReply();
    void StepSdi12LateReply();
    void StepLoggerPassword();
    void StepLoggerProgramMode();
    void StepLoggerCopyStage();
    void StepLoggerExecuteStage();
    void StepStartRecords();
    void StepRecords();
    void StepNewVersion();
    // Address check passed or the device may be in program mode: on at 9600 baud.
    void GoToRecordsAtFullSpeed(const char* status);
    // The copy and execute labels as the SDI-12 types show them.
    void ShowSdi12Stages();
    // A logger stage got NAK: already in program mode, on to the records.
    void SkipToRecords();
    // The reply of `count` bytes is one NAK, or, when nothing came, a NAK follows within 2 s.
    bool IsNakReply(DWORD count);
    void CompleteRecords();
    // The record loop gives up: message, line settings, page released.
    void FailRecords();
    // "Stop Upgrade" taken between ticks of the record loop.
    void StopRecords();

    CCommPort* m_pCommPort = nullptr;
    std::string m_strFirmwarePath;
    int m_nTxLength = 0;
    BYTE m_abTx[500] = {};
    BYTE m_abRx[500] = {};
    BYTE m_bFirstBrowse = 1;
    // Frames in the loaded image (a standard file's record lines); never 0 once loaded.
    int m_nLineCount = 0;
    int m_nRecordsSent = 0;
    // Index of the next frame to send.
    int m_nReadPos = 0;
    int m_nRetries = 0;
    // NAKs to the record in m_abTx since it was first sent.
    int m_nRefusals = 0;
    // Frames the logger acknowledged in this upgrade.
    int m_nAccepted = 0;
    // The firmware file's bytes as read, and the frames made of them.
    std::string m_abImage;
    std::vector<HexFrame> m_frames;
    // The frame in m_abTx is the last one.
    bool m_bTxLast = false;
    std::string m_szDataFolder;
    int m_nSendCount = 0;
    int m_nReSendCount = 0;
    BYTE m_bStop = 0;
    BYTE m_bMore = 0;
    int m_nSavedBaud = 9600;
    int m_nSavedByteSize = 8;

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
