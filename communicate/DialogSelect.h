// CDialogSelect: the Communicate page. It owns the program's one serial
// port, lets the user pick the COM port and baud rate, and runs the
// terminal: a poll that shows what the logger sends, and the keyboard.
#pragma once

#include <QFont>
#include <map>
#include <string>

#include "communicate/ButtonConfig.h"
#include "communicate/CallSteps.h"
#include "communicate/CaptureConverter.h"
#include "communicate/CaptureFile.h"
#include "communicate/CaptureKind.h"
#include "communicate/DumpState.h"
#include "framework/Dialog.h"
#include "framework/Files.h"
#include "resources/ResourceSelect.h"
#include "shell/ButtonHS.h"

class CXTabCtrl;
class CCommPort;

constexpr UINT IDT_STARTUP = 10000;
constexpr UINT IDT_POLL = 10001;
constexpr UINT IDT_SECOND = 10006;
constexpr UINT IDT_SENDNEXT = 10008;
// Tells of a "buttn.cfg" that could not be written, once the start-up step is over.
constexpr UINT IDT_BUTTONWARNING = 10024;

// Dialler: the second step of a dial and of a hang-up, 2 s after "+++".
constexpr UINT IDT_DIAL = 10004;
constexpr UINT IDT_HANGUP = 10005;
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

    // Start-up, ports and baud. EnumeratePorts gives, by port number, a sentence on each port
    // found in use that was not told before.
    std::map<int, std::string> EnumeratePorts();
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
    CaptureKind GetCaptureKind() const { return m_nCaptureKind; }

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
    void OnKillfocusPhoneNumber();
    void OnSelchangeAutoHangup();
    // The program ends by a signal: nothing more starts here, and a modem
    // call up (a scheduled one too) is hung up as "Hangup" does. True while
    // that hang-up runs: the modem-in-use flag clears with its "ATH".
    bool EndForSignal();
    // User buttons.
    void ShowButtonLevel();
    void OnNextLevel();
    void OnPrevLevel();
    void OnButtonClicked(UINT id);
    const std::string& GetButtonCaption(int index) const { return m_strCaption[index]; }

    // Scheduled call session: the tick's pick-up of the Schedule's request
    // and the timers of the call.
    void PickUpScheduledCall();
    void OnSessionTimer(UINT id);
    SessionState GetSessionState() const { return m_nSessionState; }

    // Command sending.
    void OnUserButton(int k);
    void SendCommandStep();
    // Puts `text` (at most 100 characters kept) into the command buffer and
    // sends its first piece, with the escapes of a scheduled call's site.
    void SendCommand(const char* text, char dumpEventCommand, const char* dumpEvent);
    // The timers of the buttons, command sending and dumps.
    void OnCommandTimer(UINT id);

    // Dumps.
    void StartDump(int kind);
    void SendPendingCommand();
    DumpState GetDumpState() const { return m_nDumpState; }

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
    void WriteCommsConfig(int port, int baudIndex, bool synced = true);
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
    BYTE m_bToldInUse[99] = {}; // told in use, until it is seen free again
    BYTE m_bToldConfigFailure = 0;

    // State of the features that come with the buttons, dumps and capture.
    int m_nButtonLevel = 1;
    DumpState m_nDumpState = DumpState::Idle;
    CaptureKind m_nCaptureKind = CaptureKind::None;

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
    // The folder of the last capture file chosen this run; empty: the data folder.
    std::string m_szCaptureFolder;
    CaptureSink m_captureSink{this};
    // The line being built, the conversion and the tracked-dump state.
    CCaptureConverter m_capture{&m_captureSink};

    // Dialler.
    // Writes a modem string, shows `shown` and copies it to a Raw capture
    // when `capture` is set.
    void SendModemString(const std::string& sent, const std::string& shown, bool capture);
    void CallNow();
    // Replaces a one-value settings file unless it holds the bytes already
    // (unsynced: without waiting for the disk); tells the user once while
    // it fails. True when the file was written.
    bool WriteDialFile(const char* name, const std::string& bytes, BYTE& warned, bool synced);
    BYTE m_bPhoneFileWarned = 0;
    // "pn.cfg" follows the box unsynced while the user types; it is synced
    // when the box loses the focus.
    BYTE m_bPhoneFileUnsynced = 0;
    BYTE m_bHangupFileWarned = 0;
    // Scheduled call session: its steps come from CallSteps, whose effects
    // are carried out here.
    CallProgress SessionProgress() const;
    // Takes `p` back into the members, then carries out `effects` in order.
    void CarryOut(const CallProgress& p, const CallSteps::Effects& effects);
    void CarryOut(const SessionEffect& e);
    // Command 1's step: the call line and the site's dump event taken over.
    void TakeCallLine();
    // The site's tracked dump starts: skipping up to its stored event.
    void TrackDump();
    void SendSessionCommand(int k);
    // Hands the site's dump event back when command k is the tracked one.
    void HandBackDumpEvent(int k);
    void OpenCaptureFile(const char* templ, const char* append, const char* form);
    void CloseSessionCapture();
    void ShowSessionStatus(const char* step);
    void WriteSessionCr();
    SessionState m_nSessionState = SessionState::None;
    // Seconds left to wait for the modem's reply once it has dialled.
    int m_nConnectSecondsLeft = 0;
    char m_szCallSite[100] = {};
    char m_szCmd1[101] = {};
    char m_szCmd2[101] = {};
    char m_szCmd3[101] = {};
    char m_szFile1[101] = {};
    char m_szFile2[101] = {};
    char m_szFile3[101] = {};
    char m_cAppend1[2] = {};
    char m_cAppend2[2] = {};
    char m_cAppend3[2] = {};
    char m_cForm1[2] = {};
    char m_cForm2[2] = {};
    char m_cForm3[2] = {};
    BYTE m_nCmdSecondsLeft = 0;
    BYTE m_bQuietSecondSeen = 0;
    BYTE m_bSessionData = 0;
    BYTE m_bDumpWord = 0;
    BYTE m_bDirectLink = 0;
    // Connected ('1' or '9'): a Hangup publishes what the call captured.
    BYTE m_bSessionConnected = 0;
    // The repeat count the tracked command started from.
    BYTE m_nStoredRepeats = 0;

    // User buttons.
    ButtonArrays ButtonsOfPage() { return {m_strCaption, m_strData, m_bPlot}; }
    std::string ButtonFilePath() const;
    std::string m_strCaption[kButtonSlots];
    std::string m_strData[kButtonSlots];
    BYTE m_bPlot[kButtonSlots] = {};
    BYTE m_nButtonIndex = 0;
    int m_nButtonFileError = 0; // errno of defaults that could not be written

    // Command sending.
    void LoadCommand(const char* text);
    char m_szCommand[103] = {};
    char* m_pCommandPos = m_szCommand;
    char m_szPiece[500] = {};
    char m_cDumpEventCommand = 0;
    char m_szDumpEvent[20] = {};

    // Dumps.
    void KillDumpTimers();
    CFile m_fileDump;
};
