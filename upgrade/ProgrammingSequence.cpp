#include "upgrade/ProgrammingSequence.h"

#include <algorithm>
#include <utility>

#include "framework/Text.h"

namespace {

using Kind = UpgradeEffect::Kind;

// Records sent back to back within one tick of the record loop.
constexpr int kRecordsPerTick = 50;
// Missing or unknown replies to one record before the loop gives up.
constexpr int kMaxRetries = 5;
// Refusals (NAK) of one record in a row before the loop gives up.
constexpr int kMaxRefusals = 20;

// A reply's text lies between its first byte and its line end.
std::string ReplyText(const std::uint8_t* bytes, std::size_t count) {
    if (count < 3)
        return {};
    return std::string(reinterpret_cast<const char*>(bytes) + 1, count - 3);
}

bool IsOneByte(const std::uint8_t* bytes, std::size_t count, std::uint8_t value) {
    return count == 1 && bytes[0] == value;
}

} // namespace

void ProgrammingSequence::Put(Kind kind, std::string text, long a, long b) {
    m_out.push_back(UpgradeEffect{kind, std::move(text), a, b});
}

void ProgrammingSequence::Show(StepLabel label, bool show) {
    Put(Kind::ShowLabel, {}, long(label), show ? 1 : 0);
}

void ProgrammingSequence::Send(std::string bytes) {
    // An SDI-12 line gives back everything sent on it.
    Put(Kind::Send, std::move(bytes), IsSdi12Device(m_device) ? 1 : 0);
}

void ProgrammingSequence::Read(Await what, long count, long ms) {
    m_await = what;
    Put(Kind::Read, {}, count, ms);
}

ProgrammingSequence::Effects ProgrammingSequence::Take() {
    Effects out;
    out.swap(m_out);
    return out;
}

void ProgrammingSequence::RestoreLineSettings() {
    Put(Kind::SetLine, {}, m_nSavedBaud, m_nSavedByteSize);
}

void ProgrammingSequence::EndSdi12Road() {
    Release();
    RestoreLineSettings();
}

ProgrammingSequence::Effects ProgrammingSequence::Start() {
    m_out.clear();
    m_await = Await::Nothing;
    Put(Kind::Counts, {}, 0, 0);
    m_bStop = 0;
    Put(Kind::Progress, {}, 0);
    return Take();
}

ProgrammingSequence::Effects ProgrammingSequence::Begin(DeviceType device,
                                                        std::vector<HexFrame> frames,
                                                        std::string text, std::string password) {
    m_device = device;
    m_frames = std::move(frames);
    m_text = std::move(text);
    m_password = std::move(password);
    m_nLineCount = int(m_frames.size());
    const bool px70 = device == DeviceType::Px70;
    Put(Kind::LabelText, px70 ? "Erasing Data Flash" : "Erasing Program Flash",
        long(StepLabel::Erase));
    Put(Kind::LabelText, px70 ? "Copying Firmware to Data Flash" : "---", long(StepLabel::Copy));
    Put(Kind::LabelText, px70 ? "Executing from Data Flash" : "Executing Firmware Upgrade",
        long(StepLabel::Execute));
    Put(Kind::LabelText, "Programming....", long(StepLabel::Programming));
    for (StepLabel label :
         {StepLabel::Version, StepLabel::Password, StepLabel::Erase, StepLabel::Copy,
          StepLabel::Execute, StepLabel::Programming, StepLabel::Complete})
        Show(label, false);
    Arm(IsSdi12Device(device) ? IDT_SDI12_ADDRESS_QUERY : IDT_LOGGER_PASSWORD, 100);
    return Take();
}

ProgrammingSequence::Effects ProgrammingSequence::Timer(unsigned id) {
    m_out.clear();
    m_await = Await::Nothing;
    if (id != IDT_SDI12_PROGRAM_COMMAND)
        Put(Kind::RestartHangup);
    switch (id) {
    case IDT_SDI12_ADDRESS_QUERY:
        m_await = Await::Line;
        Put(Kind::GetLine);
        break;
    case IDT_SDI12_ADDRESS_REPLY:
        Read(Await::AddressReply, 15, 400);
        break;
    case IDT_SDI12_PROGRAM_COMMAND:
        Send(kSdi12ProgramCommand(m_device));
        Status("Erasing Program Flash");
        Show(StepLabel::Erase, true);
        Arm(IDT_SDI12_PROGRAM_REPLY, 1000);
        break;
    case IDT_SDI12_PROGRAM_REPLY:
        Read(Await::ProgramReply, 18, 200);
        break;
    case IDT_SDI12_LATE_REPLY:
        // The 400 ms of the address reply.
        Read(Await::LateReply, 15, 400);
        break;
    case IDT_LOGGER_PASSWORD:
        if (m_device == DeviceType::Ferrant)
            Arm(IDT_LOGGER_PROGRAM_MODE, 100);
        else
            CheckPassword();
        break;
    case IDT_LOGGER_PROGRAM_MODE:
        SendProgramModeRequest();
        Read(Await::ProgramMode, 1, 3000);
        break;
    case IDT_LOGGER_COPY_STAGE:
        Read(Await::CopyStage, 1, 3000);
        break;
    case IDT_LOGGER_EXECUTE_STAGE:
        Read(Await::ExecuteStage, 1, 3000);
        break;
    case IDT_START_RECORDS:
        Status("Upgrading Firmware");
        Show(StepLabel::Programming, true);
        m_nRecordsSent = 0;
        m_nReadPos = 0;
        m_nRetries = 0;
        m_nSendCount = 0;
        m_nReSendCount = 0;
        m_nAccepted = 0;
        m_nRefusals = 0;
        Arm(IDT_RECORDS, 100);
        break;
    case IDT_RECORDS:
        m_nTickAcks = 0;
        NextRecordExchange();
        break;
    case IDT_NEW_VERSION:
        if (IsSdi12Device(m_device)) {
            Status("");
            RestoreLineSettings();
            Release();
        } else {
            ReadNewVersion();
        }
        break;
    default:
        break;
    }
    return Take();
}

// --- SDI-12 road -----------------------------------------------------------

ProgrammingSequence::Effects ProgrammingSequence::LineRead(unsigned baud, int byteSize) {
    m_out.clear();
    if (m_await != Await::Line)
        return {};
    m_await = Await::Nothing;
    m_nSavedBaud = int(baud);
    m_nSavedByteSize = byteSize;
    Put(Kind::SetLine, {}, 1200, 7);
    Send(std::string(kSdi12AddressQuery, std::size_t(kSdi12AddressQueryLength(m_device))));
    Status("Getting SDI-12 Address");
    Arm(IDT_SDI12_ADDRESS_REPLY, 500);
    return Take();
}

void ProgrammingSequence::ShowSdi12Stages() {
    Put(Kind::LabelText, "---", long(StepLabel::Copy));
    Put(Kind::LabelText, "Executing Firmware Upgrade", long(StepLabel::Execute));
    Show(StepLabel::Copy, true);
    Show(StepLabel::Execute, true);
}

void ProgrammingSequence::GoToRecordsAtFullSpeed(const char* status) {
    Status(status);
    ShowSdi12Stages();
    Put(Kind::SetLine, {}, 9600, 8);
    Arm(IDT_START_RECORDS, 600);
}

// --- Logger road -----------------------------------------------------------

void ProgrammingSequence::CheckPassword() {
    if (m_password.size() != 4) {
        Status("Enter 4 char password");
        PasswordOutcome(-1);
        return;
    }
    Send("\r");
    Read(Await::LeadingCr, 50, 200);
}

void ProgrammingSequence::PasswordOutcome(int result) {
    switch (result) {
    case 1:
        Show(StepLabel::Password, true);
        Arm(IDT_LOGGER_PROGRAM_MODE, 1000);
        return;
    case 3:
        Arm(IDT_START_RECORDS, 1000);
        return;
    case 2:
        Warn("Wrong Password - Note it is Case Sensitive. Change the password and try again");
        break;
    case 0:
        Warn("No Reply from Logger. Check cables, comm port and power");
        break;
    case -1:
        Warn("Enter the 4 character Password");
        break;
    default:
        Warn("Invalid response. Check Logger baud rate is set correctly");
        break;
    }
    Release();
}

void ProgrammingSequence::SendProgramModeRequest() {
    std::string entry(reinterpret_cast<const char*>(kProgramModeEntry), kProgramModeEntryLength);
    if (m_device == DeviceType::Ferrant)
        entry[1] = char(kProgramModeEntryFerrant1);
    entry[5] = char(kProgramModeType(m_device));
    Send(std::move(entry));
}

void ProgrammingSequence::ReadNewVersion() {
    Send(m_device == DeviceType::Ferrant ? kFerrantVersionRequest : kVersionRequest);
    Read(Await::NewVersion, 50, 700);
}

void ProgrammingSequence::SkipToRecords() {
    Status("Already in Programming Mode");
    Arm(IDT_START_RECORDS, 1000);
}

// --- Replies ---------------------------------------------------------------

ProgrammingSequence::Effects ProgrammingSequence::Reply(const std::uint8_t* bytes, std::size_t n) {
    m_out.clear();
    const Await what = m_await;
    m_await = Await::Nothing;
    const bool px70 = m_device == DeviceType::Px70;
    switch (what) {
    case Await::Nothing:
    case Await::Line:
        break;
    case Await::AddressReply:
        if (n == 3 && bytes[1] == '\r' && bytes[2] == '\n') {
            if (bytes[0] == '0') {
                Status("Address 0 - OK");
                ShowSdi12Stages();
                Arm(IDT_SDI12_PROGRAM_COMMAND, 500);
            } else {
                Warn("Set the transducer SDI-12 Address to 0 and try again");
                EndSdi12Road();
            }
        } else if (n == 1) {
            GoToRecordsAtFullSpeed("May be in Program Mode");
        } else if (n == 0) {
            Arm(IDT_SDI12_LATE_REPLY, 4500);
        } else {
            Warn("Unknown reply, check cables, RS232 mode and try again");
            EndSdi12Road();
        }
        break;
    case Await::ProgramReply:
        if (n == 0) {
            Status("No Response to Xprog command");
            EndSdi12Road();
        } else {
            GoToRecordsAtFullSpeed(n == 8 ? "Erase Done" : "Already in Program Mode");
        }
        break;
    case Await::LateReply:
        if (n == 1) {
            GoToRecordsAtFullSpeed("May be in Program Mode");
        } else {
            m_await = Await::LateReply;
            Put(Kind::Ask, "Bad or No reply, check cables and RS232 mode.\n\nTry upgrading the "
                           "firmware anyway?");
        }
        break;
    case Await::LeadingCr:
        Send(kVersionRequest);
        Read(Await::OldVersion, 50, 700);
        break;
    case Await::OldVersion:
        if (n >= 21) {
            Status("Version Read");
            Put(Kind::LabelText, "Previous Version : " + ReplyText(bytes, n),
                long(StepLabel::Version));
            Show(StepLabel::Version, true);
        } else if (IsOneByte(bytes, n, kNak)) {
            Status("Already in program mode");
            PasswordOutcome(3);
            break;
        } else if (n == 0) {
            Read(Await::OldVersionNak, 1, 2000);
            break;
        }
        [[fallthrough]];
    case Await::OldVersionNak:
        if (what == Await::OldVersionNak && IsOneByte(bytes, n, kNak)) {
            Status("Already in program mode");
            PasswordOutcome(3);
            break;
        }
        Send(kPasswordPrefix + m_password + "\r");
        Read(Await::Password, 50, 700);
        break;
    case Await::Password:
        if (n == 20 && ReplyText(bytes, n) == kPasswordAccepted) {
            Status("Password Accepted");
            PasswordOutcome(1);
        } else if (n == 21 && ReplyText(bytes, n) == kPasswordIncorrect) {
            Status("Incorrect Password");
            PasswordOutcome(2);
        } else if (IsOneByte(bytes, n, kNak)) {
            Status("Already in program mode");
            PasswordOutcome(3);
        } else if (n == 0) {
            Read(Await::PasswordNak, 1, 2000);
        } else {
            Status("Invalid response");
            PasswordOutcome(-2);
        }
        break;
    case Await::PasswordNak:
        if (IsOneByte(bytes, n, kNak)) {
            Status("Already in program mode");
            PasswordOutcome(3);
        } else {
            Status("No response");
            PasswordOutcome(0);
        }
        break;
    case Await::ProgramMode:
        if (IsOneByte(bytes, n, kEraseStarted)) {
            Status(px70 ? "Erasing Data Flash" : "Erasing Program Flash");
            Show(StepLabel::Erase, true);
            Arm(px70 ? IDT_LOGGER_COPY_STAGE : IDT_LOGGER_EXECUTE_STAGE, 2000);
        } else if (IsOneByte(bytes, n, kNak)) {
            SkipToRecords();
        } else {
            Status(px70 ? "Erasing Data Flash -> Invalid programming response"
                        : "Erasing Program Flash -> Invalid programming response");
            Warn("Check the correct Device Type is selected !!!!\nIf Ok then turn Device Power "
                 "off and on - and try programming sequence again");
            Release();
        }
        break;
    case Await::CopyStage:
        if (IsOneByte(bytes, n, kCopyStarted)) {
            Status("Copying Program to Data Flash");
            Show(StepLabel::Copy, true);
            Arm(IDT_LOGGER_EXECUTE_STAGE, 1000);
        } else if (IsOneByte(bytes, n, kNak)) {
            SkipToRecords();
        } else {
            Status("Copying Program to Data Flash -> Invalid programming response");
            Warn("Turn Logger Power off and on - then try programming sequence again");
            Release();
        }
        break;
    case Await::ExecuteStage:
        if (IsOneByte(bytes, n, kExecuteStarted)) {
            Status(px70 ? "Executing from Data Flash" : "Executing Program Download");
            Show(StepLabel::Execute, true);
            Arm(IDT_START_RECORDS, 1000);
        } else if (IsOneByte(bytes, n, kNak)) {
            SkipToRecords();
        } else {
            Status("Executing from Data Flash -> Invalid programming response");
            Warn("Turn Logger Power off and on - then try Firmare Upgrade sequence again");
            Release();
        }
        break;
    case Await::Record:
        RecordReply(bytes, n);
        break;
    case Await::NewVersion: {
        const bool ferrant = m_device == DeviceType::Ferrant;
        if (n >= 21 || (ferrant && n >= 6 && n <= 8)) {
            Status("New Version : " + ReplyText(bytes, n));
        } else if (IsOneByte(bytes, n, kNak)) {
            Status("Error -> Still in program mode !!!");
        } else if (n == 0) {
            Read(Await::NewVersionNak, 1, 2000);
            break;
        } else {
            Status("Error -> Illegal response to Version Request !!!");
        }
        Release();
        break;
    }
    case Await::NewVersionNak:
        Status(IsOneByte(bytes, n, kNak) ? "Error -> Still in program mode !!!"
                                         : "Error -> No Reply to Version Request !!!");
        Release();
        break;
    }
    return Take();
}

ProgrammingSequence::Effects ProgrammingSequence::Answer(bool yes) {
    m_out.clear();
    if (m_await != Await::LateReply)
        return {};
    m_await = Await::Nothing;
    if (yes)
        GoToRecordsAtFullSpeed("May be in Program Mode");
    else
        EndSdi12Road();
    return Take();
}

ProgrammingSequence::Effects ProgrammingSequence::SendReset(DeviceType device) {
    const char endOfFile[] = {':', 0x00, 0x00, 0x00, char(kHexRecordEndOfFile), char(0xFF)};
    return {
        UpgradeEffect{Kind::TxLine, ": 0x00 0x00 0x00 0x01 0xFF"},
        UpgradeEffect{Kind::Send, std::string(endOfFile, sizeof endOfFile),
                      IsSdi12Device(device) ? 1 : 0},
    };
}

// --- Records ---------------------------------------------------------------

void ProgrammingSequence::SendNextRecord() {
    if (m_nReadPos >= int(m_frames.size())) {
        m_bTxLast = true; // not reached: every loaded image ends with its last record
        return;
    }
    const HexFrame& frame = m_frames[std::size_t(m_nReadPos++)];
    m_tx.assign(reinterpret_cast<const char*>(frame.bytes), frame.length);
    m_bTxLast = IsLastHexFrame(frame, m_device == DeviceType::Px70);
    Put(Kind::TxLine, HexFrameDump(frame, m_text.data(), m_text.size()));
    Put(Kind::RxLine, "");
    Send(m_tx);
}

void ProgrammingSequence::ResendRecord() {
    Put(Kind::RxLine, "");
    Send(m_tx);
}

void ProgrammingSequence::NextRecordExchange() {
    if (m_nRetries != 0) {
        ResendRecord();
        ++m_nReSendCount;
    } else {
        SendNextRecord();
        ++m_nRecordsSent;
        ++m_nSendCount;
    }
    Put(Kind::Counts, {}, m_nSendCount, m_nReSendCount);
    Read(Await::Record, m_device == DeviceType::Px70 ? 2 : 1, 4000);
}

void ProgrammingSequence::RecordReply(const std::uint8_t* bytes, std::size_t n) {
    std::string rx;
    for (std::size_t k = 0; k < n; ++k)
        rx += Format("(%c) 0x%02X ", char(bytes[k]), unsigned(bytes[k]));
    Put(Kind::RxLine, std::move(rx));
    const bool last = m_bTxLast;
    if (n >= 1 && bytes[0] == kAck) {
        m_nRetries = 0;
        m_nRefusals = 0;
        ++m_nAccepted;
        if (last) {
            CompleteRecords();
            EndRecordTick(false);
        } else if (++m_nTickAcks >= kRecordsPerTick) {
            EndRecordTick(true);
        } else {
            NextRecordExchange();
        }
        return;
    }
    if (n >= 1 && bytes[0] == kNak) {
        ++m_nRetries;
        if (last) {
            CompleteRecords();
            EndRecordTick(false);
            return;
        }
        // A record the logger never takes must not hold the port for ever.
        if (++m_nRefusals < kMaxRefusals) {
            EndRecordTick(true);
        } else {
            FailRecords();
            EndRecordTick(false);
        }
        return;
    }
    if (m_nRetries < kMaxRetries) {
        ++m_nRetries;
        EndRecordTick(true);
        return;
    }
    FailRecords();
    EndRecordTick(false);
}

void ProgrammingSequence::ShowProgress(int frames) {
    if (m_nLineCount > 0)
        Put(Kind::Progress, {},
            std::min(100, int(static_cast<long long>(frames) * 100 / m_nLineCount)));
}

void ProgrammingSequence::EndRecordTick(bool rearm) {
    ShowProgress(m_nRecordsSent);
    if (!rearm)
        return;
    if (m_bStop) {
        StopRecords();
        return;
    }
    Arm(IDT_RECORDS, 50);
}

void ProgrammingSequence::CompleteRecords() {
    Show(StepLabel::Programming, false);
    Show(StepLabel::Complete, true);
    Status("Waiting for Reset");
    Arm(IDT_NEW_VERSION, IsSdi12Device(m_device) ? 500 : 7500);
}

void ProgrammingSequence::FailRecords() {
    Status("Programming -> Invalid Response");
    Warn("Invalid response during programming. Try clicking on 'Start Upgrade' again");
    if (IsSdi12Device(m_device))
        RestoreLineSettings();
    Release();
}

void ProgrammingSequence::StopRecords() {
    // The bar and labels show what the logger took, not what was sent.
    ShowProgress(m_nAccepted);
    Put(Kind::LabelText, "Programming Stopped", long(StepLabel::Programming));
    Status(Format("Upgrade Stopped - %d records accepted", m_nAccepted));
    if (IsSdi12Device(m_device))
        RestoreLineSettings();
    Release();
    Warn("Upgrade stopped - the logger may still be in program mode.\nTurn Logger Power off and "
         "on - then try programming sequence again");
}
