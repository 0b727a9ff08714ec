// CDialogSelect: the Communicate page. It owns the program's one serial
// port, lets the user pick the COM port and baud rate, and runs the
// terminal: a poll that shows what the logger sends, and the keyboard.
#pragma once

#include <QFont>
#include <string>

#include "communicate/CaptureConverter.h"
#include "communicate/CaptureFile.h"
#include "framework/Dialog.h"
#include "resources/ResourceSelect.h"
#include "shell/ButtonHS.h"

class CXTabCtrl;
class CCommPort;

constexpr UINT IDT_STARTUP = 10000;
constexpr UINT IDT_POLL = 10001;
constexpr UINT IDT_SECOND = 10006;

// Dialler: the second step of a dial and of a hang-up, 2 s after "+++".
constexpr UINT IDT_DIAL = 10004;
constexpr UINT IDT_HANGUP = 10005;
// Timers of a scheduled call, all stopped by a hang-up.
constexpr UINT IDT_WAITCONNECT = 10009;
constexpr UINT IDT_COMMAND1 = 10011;
constexpr UINT IDT_WAITCMD1 = 10012;
constexpr UINT IDT_COMMAND2 = 10013;
constexpr UINT IDT_WAITCMD2 = 10014;
constexpr UINT IDT_COMMAND3 = 10015;
constexpr UINT IDT_WAITCMD3 = 10016;
constexpr UINT IDT_ENDSESSION = 10017;
// What the user may type into the phone number.
constexpr int PHONE_NUMBER_LIMIT = 30;

constexpr int BAUD_INDEX_SDI12 = 7;
constexpr int PORT_NOT_LISTED = 255;

class CDialogSelect : public CDialog {
public:
    CDialogSelect();
    ~CDialogSelect() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(UINT id, UINT code) override;
    void OnTimer(UINT id) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    void OnOK() override {}
    void OnCancel() override {}

    // Start-up, ports and baud.
    void EnumeratePorts();
    void RestorePort();
    void OpenPort(int n);
    void OnSelchangePort();
    void OnDropdownPort();
    void OnSelchangeBaud();

    // Poll, terminal and keyboard.
    void Poll();
    void OnClearScreen();
    // Caret to the end of the terminal, scroll, insert.
    void InsertAtTerminalEnd(const std::string& bytes);
    // Removes the oldest lines once the text nears the terminal's limit.
    void TrimTerminal();

    // Hooks of the dump, capture, dialler and button features.
    void CloseDump();
    void StopCapture();
    void ResetAutoHangup();
    void CaptureRawLines(const char* bytes, int count);
    void CaptureFormattedLines(const char* bytes, int count);
    void WriteDump(const char* bytes, int count);
    void WriteRawCapture(const char* bytes, int count);
    void LoadButtons();
    void LoadDiallerSettings();
    void OnDefineButtons(UINT id);

    // Capture.
    void OnStartCapture();
    int GetCaptureKind() const { return m_nCaptureKind; }
    CCaptureConverter& Capture() { return m_capture; }

    // Dialler.
    void OnDial();
    void OnHangup();
    void OnDialStep();
    void OnHangupStep();
    // The one-second tick: the automatic hang-up and the Schedule's requests.
    void OnSecondTick();
    void DisableControls();
    void EnableControls();
    void EnableTabsAndHangup();
    void OnChangePhoneNumber();
    void OnSelchangeAutoHangup();

    // State a test or another window may look at.
    int GetPortNumber() const { return m_nPortNumber; }
    int GetBaudIndex() const { return m_nBaudIndex; }
    CCommPort* GetCommPort() const { return m_pCommPort; }
    const char* GetDataFolder() const { return m_szDataFolder.c_str(); }
    CEdit& Terminal() { return m_editTerminal; }
    // Bytes the poll has taken from the port since start-up.
    long long GetTotalReceived() const { return m_nTotalReceived; }

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;

private:
    bool IsCurrent(int page) const;
    void ApplyFraming();
    void WriteCommsConfig(int port, int baudIndex);
    // One block of received bytes, through every consumer.
    void HandleReceived(const char* bytes, int count);
    // Sends one typed byte; echo and capture unless at SDI-12.
    void SendTypedByte(BYTE byte);
    // Tells the user once when the line is lost (an unplugged adapter).
    void ReportLostLine();

    CCommPort* m_pCommPort = nullptr;
    CStatic m_stcFraming;
    CStatic m_stcLevel;
    CStatic m_stcDumpDate;
    CStatic m_stcCaptureFile;
    CStatic m_stcStatus;
    CComboBox m_cboAutoHangup;
    CButton m_btnClearScreen;
    CEdit m_editPhoneNumber;
    CButton m_btnHangup;
    CButton m_btnDial;
    CComboBox m_cboBaud;
    CStatic m_stcFileLabel[8];
    CButton m_btnCapture;
    CButtonHS m_btnUser[8];
    CEdit m_editTerminal;
    CComboBox m_cboPort;
    int m_nPortCount = 0;
    int m_nPortNumber = 0;
    int m_nPortComboIndex[99] = {};
    std::string m_szDataFolder; // kept whole, however long
    QFont m_fontTerminal;
    int m_nBaudIndex = 3;
    DWORD m_dwBaudRate = 9600;
    DWORD m_dwBaudTable[8] = {};
    CButton m_btnLevelUp;
    CButton m_btnLevelDown;

    // Poll and keyboard.
    char m_szReadBuffer[100] = {};
    int m_nLastKey = 0;
    BYTE m_bCollectReply = 0;
    char m_szModemReply[100] = {};
    int m_nRxCount = 0;
    long long m_nTotalReceived = 0;
    BYTE m_bLostLineReported = 0;
    BYTE m_bToldNoPermission = 0;
    BYTE m_bToldConfigFailure = 0;

    // State of the features that come with the buttons, dumps and capture.
    int m_nButtonLevel = 1;
    int m_nDumpState = 0;
    int m_nCaptureKind = 0;

    // Capture.
    // Stops the capture and tells the user when its file took no more.
    void CaptureWriteFailed();
    struct CaptureSink : CaptureOutput {
        explicit CaptureSink(CDialogSelect* page) : m_pPage(page) {}
        bool WriteCapture(const char* bytes, std::size_t count) override;
        void ShowDumpDate(const std::string& text) override;
        CDialogSelect* m_pPage;
    };
    CCaptureFile m_fileCapture;
    std::string m_strCaptureFile;
    CaptureSink m_captureSink{this};
    // The line being built, the conversion and the tracked-dump state.
    CCaptureConverter m_capture{&m_captureSink};

    // Dialler.
    // Writes a modem string, shows `shown` and copies it to a Raw capture
    // when `capture` is set.
    void SendModemString(const std::string& sent, const std::string& shown, bool capture);
    void CallNow();
    // Writes a one-value settings file; tells the user once while it fails.
    void WriteDialFile(const char* name, const std::string& bytes, BYTE& warned);
    BYTE m_bPhoneFileWarned = 0;
    BYTE m_bHangupFileWarned = 0;
    // Step of a scheduled call (0 when none runs) and the seconds left to
    // wait for the modem's reply once it has dialled.
    BYTE m_nSessionState = 0;
    int m_nConnectSecondsLeft = 0;
};
