// The firmware programming sequence without a window: from "Start Upgrade" through the SDI-12
// address check or the logger's password and program-mode stages to the records and the new
// version. Given the device type, the image's frames and the replies read, it says what to
// send, what to show and which timer to arm, as a list of effects the page carries out in
// order. Plain C++, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "upgrade/DeviceCommands.h"
#include "upgrade/IntelHex.h"

// One one-shot timer per step.
constexpr unsigned IDT_SDI12_ADDRESS_QUERY = 30002;
constexpr unsigned IDT_SDI12_ADDRESS_REPLY = 30003;
constexpr unsigned IDT_SDI12_PROGRAM_COMMAND = 30004;
constexpr unsigned IDT_SDI12_PROGRAM_REPLY = 30005;
constexpr unsigned IDT_SDI12_LATE_REPLY = 30006;
constexpr unsigned IDT_LOGGER_PASSWORD = 30007;
constexpr unsigned IDT_LOGGER_PROGRAM_MODE = 30008;
constexpr unsigned IDT_LOGGER_COPY_STAGE = 30009;
constexpr unsigned IDT_LOGGER_EXECUTE_STAGE = 30010;
constexpr unsigned IDT_START_RECORDS = 30011;
constexpr unsigned IDT_RECORDS = 30012;
constexpr unsigned IDT_NEW_VERSION = 30013;

// The step labels of the page.
enum class StepLabel { Version, Password, Erase, Copy, Execute, Programming, Complete };

struct UpgradeEffect {
    enum class Kind {
        RestartHangup, // reload the line's hang-up countdown
        GetLine,       // the line's baud rate and data bits go to LineRead()
        SetLine,       // set `baud`; with `byteSize` 7 even parity and seven bits after it
        Send,          // purge and write `text`; `readEcho`: read the echo back and drop it
        Read,          // read at most `count` bytes within `ms`; the bytes go to Reply()
        Ask,           // Yes/No "Warning" box `text`; the answer goes to Answer()
        Message,       // OK "Warning" box `text`
        Status,        // status line `text`
        LabelText,     // `label` reads `text`
        ShowLabel,     // `label` shown (`show`) or hidden
        TxLine,        // diagnostics: last frame sent
        RxLine,        // diagnostics: last reply
        Counts,        // diagnostics: `sends` first sends, `reSends` re-sends
        Progress,      // bar at `position`
        Release,       // page controls and tabs enabled again
        Arm,           // `timer` in `ms`
    };
    Kind kind{};
    std::string text{};
    unsigned baud = 0;
    int byteSize = 0;
    bool readEcho = false;
    long count = 0;
    long ms = 0;
    StepLabel label = StepLabel::Version;
    bool show = false;
    int sends = 0;
    int reSends = 0;
    int position = 0;
    unsigned timer = 0;
};

class ProgrammingSequence {
public:
    using Effects = std::vector<UpgradeEffect>;

    // "Start Upgrade" pressed: counts, bar and stop cleared.
    Effects Start();
    // The image read again and sound: labels for the type, then the first step. A Read or an
    // Ask ends a list; the page answers it through Reply() or Answer().
    Effects Begin(DeviceType device, std::vector<HexFrame> frames, std::string text,
                  std::string password);
    // A step's timer fired.
    Effects Timer(unsigned id);
    Effects LineRead(unsigned baud, int byteSize);
    Effects Reply(const std::uint8_t* bytes, std::size_t count);
    Effects Answer(bool yes);
    // "Send Reset": the end-of-file record on its own, no reply read. The frame kept for a
    // re-send stays as it is.
    static Effects SendReset(DeviceType device);
    // "Stop Upgrade": taken at the end of the record loop's next tick.
    void RequestStop() { m_bStop = 1; }
    // The program ends by a signal: no step follows, and a line the sequence changed gets
    // back its settings as "Stop Upgrade" gives them back.
    Effects End();

    int SendCount() const { return m_nSendCount; }
    int ReSendCount() const { return m_nReSendCount; }

private:
    enum class Await {
        Nothing,
        Line,
        AddressReply,
        ProgramReply,
        LateReply,
        LeadingCr,
        OldVersion,
        OldVersionNak,
        Password,
        PasswordNak,
        ProgramMode,
        CopyStage,
        ExecuteStage,
        Record,
        NewVersion,
        NewVersionNak,
    };

    void Put(UpgradeEffect::Kind kind, std::string text = {}) {
        m_out.push_back(UpgradeEffect{kind, std::move(text)});
    }
    void Label(StepLabel label, std::string text);
    void SetLine(unsigned baud, int byteSize);
    void Counts(int sends, int reSends);
    void Progress(int position);
    void Status(std::string text) { Put(UpgradeEffect::Kind::Status, std::move(text)); }
    void Warn(std::string text) { Put(UpgradeEffect::Kind::Message, std::move(text)); }
    void Show(StepLabel label, bool show);
    void Arm(unsigned id, long ms);
    void Send(std::string bytes);
    void Read(Await what, long count, long ms);
    void Release() { Put(UpgradeEffect::Kind::Release); }
    void RestoreLineSettings();
    void EndSdi12Road();
    Effects Take();

    void ShowSdi12Stages();
    void GoToRecordsAtFullSpeed(const char* status);
    void SkipToRecords();
    void Sdi12Reply(Await what, const std::uint8_t* bytes, std::size_t n);
    void LoggerReply(Await what, const std::uint8_t* bytes, std::size_t n);
    void CheckPassword();
    void PasswordOutcome(int result);
    void SendProgramModeRequest();
    void ReadNewVersion();
    void SendNextRecord();
    void ResendRecord();
    void NextRecordExchange();
    void RecordReply(const std::uint8_t* bytes, std::size_t count);
    void EndRecordTick(bool rearm);
    void CompleteRecords();
    void FailRecords();
    void StopRecords();
    void ShowProgress(int frames);

    DeviceType m_device = DeviceType::Quenta;
    std::vector<HexFrame> m_frames;
    std::string m_text;
    std::string m_password;
    Effects m_out;
    Await m_await = Await::Nothing;

    // Records taken from the image in this upgrade.
    int m_nRecordsSent = 0;
    // Index of the next frame to send.
    int m_nReadPos = 0;
    int m_nRetries = 0;
    // NAKs to the frame in m_tx since it was first sent.
    int m_nRefusals = 0;
    // Frames the logger acknowledged in this upgrade.
    int m_nAccepted = 0;
    int m_nSendCount = 0;
    int m_nReSendCount = 0;
    // Frames acknowledged in this tick of the record loop.
    int m_nTickAcks = 0;
    std::string m_tx;
    bool m_bTxLast = false;
    std::uint8_t m_bStop = 0;
    // The line runs at the sequence's settings, not the saved ones.
    bool m_bLineChanged = false;
    int m_nSavedBaud = 9600;
    int m_nSavedByteSize = 8;
};
