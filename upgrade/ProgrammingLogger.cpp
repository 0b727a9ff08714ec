// The logger types' road: password, program-mode stages and the new version.
#include "upgrade/ProgrammingSequence.h"

#include "framework/Text.h"

namespace {

using Kind = UpgradeEffect::Kind;

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

void ProgrammingSequence::CheckPassword() {
    // Four characters, whatever their bytes.
    if (Utf8CharCount(m_password) != 4) {
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

void ProgrammingSequence::LoggerReply(Await what, const std::uint8_t* bytes, std::size_t n) {
    const bool px70 = m_device == DeviceType::Px70;
    switch (what) {
    case Await::LeadingCr:
        Send(kVersionRequest);
        Read(Await::OldVersion, 50, 700);
        break;
    case Await::OldVersion:
        if (n >= 21) {
            Status("Version Read");
            Label(StepLabel::Version, "Previous Version : " + ReplyText(bytes, n));
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
    default:
        break;
    }
}
