// The sequence's start, its steps' timers, the replies' way to each road, and the SDI-12 road.
#include "upgrade/ProgrammingSequence.h"

#include <utility>

namespace {

using Kind = UpgradeEffect::Kind;

} // namespace

void ProgrammingSequence::Label(StepLabel label, std::string text) {
    m_out.push_back({.kind = Kind::LabelText, .text = std::move(text), .label = label});
}

void ProgrammingSequence::Show(StepLabel label, bool show) {
    m_out.push_back({.kind = Kind::ShowLabel, .label = label, .show = show});
}

void ProgrammingSequence::SetLine(unsigned baud, int byteSize) {
    m_out.push_back({.kind = Kind::SetLine, .baud = baud, .byteSize = byteSize});
}

void ProgrammingSequence::Counts(int sends, int reSends) {
    m_out.push_back({.kind = Kind::Counts, .sends = sends, .reSends = reSends});
}

void ProgrammingSequence::Progress(int position) {
    m_out.push_back({.kind = Kind::Progress, .position = position});
}

void ProgrammingSequence::Arm(unsigned id, long ms) {
    m_out.push_back({.kind = Kind::Arm, .ms = ms, .timer = id});
}

void ProgrammingSequence::Send(std::string bytes) {
    // An SDI-12 line gives back everything sent on it.
    m_out.push_back(
        {.kind = Kind::Send, .text = std::move(bytes), .readEcho = IsSdi12Device(m_device)});
}

void ProgrammingSequence::Read(Await what, long count, long ms) {
    m_await = what;
    m_out.push_back({.kind = Kind::Read, .count = count, .ms = ms});
}

ProgrammingSequence::Effects ProgrammingSequence::Take() {
    Effects out;
    out.swap(m_out);
    return out;
}

void ProgrammingSequence::RestoreLineSettings() {
    m_bLineChanged = false;
    SetLine(unsigned(m_nSavedBaud), m_nSavedByteSize);
}

ProgrammingSequence::Effects ProgrammingSequence::End() {
    m_out.clear();
    m_await = Await::Nothing;
    m_bStop = 1;
    if (m_bLineChanged)
        RestoreLineSettings();
    return Take();
}

void ProgrammingSequence::EndSdi12Road() {
    Release();
    RestoreLineSettings();
}

ProgrammingSequence::Effects ProgrammingSequence::Start() {
    m_out.clear();
    m_await = Await::Nothing;
    Counts(0, 0);
    m_bStop = 0;
    Progress(0);
    return Take();
}

ProgrammingSequence::Effects ProgrammingSequence::Begin(DeviceType device,
                                                        std::vector<HexFrame> frames,
                                                        std::string text, std::string password) {
    m_device = device;
    m_frames = std::move(frames);
    m_text = std::move(text);
    m_password = std::move(password);
    const bool px70 = device == DeviceType::Px70;
    Label(StepLabel::Erase, px70 ? "Erasing Data Flash" : "Erasing Program Flash");
    Label(StepLabel::Copy, px70 ? "Copying Firmware to Data Flash" : "---");
    Label(StepLabel::Execute, px70 ? "Executing from Data Flash" : "Executing Firmware Upgrade");
    Label(StepLabel::Programming, "Programming....");
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

ProgrammingSequence::Effects ProgrammingSequence::Reply(const std::uint8_t* bytes, std::size_t n) {
    m_out.clear();
    const Await what = m_await;
    m_await = Await::Nothing;
    switch (what) {
    case Await::Nothing:
    case Await::Line:
        break;
    case Await::AddressReply:
    case Await::ProgramReply:
    case Await::LateReply:
        Sdi12Reply(what, bytes, n);
        break;
    case Await::Record:
        RecordReply(bytes, n);
        break;
    default:
        LoggerReply(what, bytes, n);
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
    m_bLineChanged = true;
    SetLine(1200, 7);
    Send(std::string(kSdi12AddressQuery, std::size_t(kSdi12AddressQueryLength(m_device))));
    Status("Getting SDI-12 Address");
    Arm(IDT_SDI12_ADDRESS_REPLY, 500);
    return Take();
}

void ProgrammingSequence::ShowSdi12Stages() {
    Label(StepLabel::Copy, "---");
    Label(StepLabel::Execute, "Executing Firmware Upgrade");
    Show(StepLabel::Copy, true);
    Show(StepLabel::Execute, true);
}

void ProgrammingSequence::GoToRecordsAtFullSpeed(const char* status) {
    Status(status);
    ShowSdi12Stages();
    SetLine(9600, 8);
    Arm(IDT_START_RECORDS, 600);
}

void ProgrammingSequence::Sdi12Reply(Await what, const std::uint8_t* bytes, std::size_t n) {
    switch (what) {
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
    default:
        break;
    }
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
