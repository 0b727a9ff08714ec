// The programming sequence without a window: a scripted device answers each read, and every
// effect is written down as one entry of a transcript ("; " between entries).
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "framework/Text.h"
#include "tests/upgrade/HexFixtures.h"
#include "upgrade/ProgrammingSequence.h"

namespace {

using Kind = UpgradeEffect::Kind;

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += Format(out.empty() ? "%02X" : " %02X", c);
    return out;
}

const std::string kAckByte(1, '\x06');
const std::string kNakByte(1, '\x15');
const std::string kOldVersion = "\rLogger V4.10 12/01/24\r\n";
const std::string kAccepted = "\rPassword Accepted\r\n";
const char kInvalid[] =
    "msg Invalid response during programming. Try clicking on 'Start Upgrade' again; ";

std::string Describe(const UpgradeEffect& e) {
    static const char* const labels[] = {"Version", "Password",    "Erase",   "Copy",
                                         "Execute", "Programming", "Complete"};
    switch (e.kind) {
    case Kind::RestartHangup:
        return "hangup";
    case Kind::GetLine:
        return "getline";
    case Kind::SetLine:
        return Format("line %ld %ld", e.a, e.b);
    case Kind::Send:
        return "send " + Hex(e.text) + (e.a ? " echo" : "");
    case Kind::Read:
        return Format("read %ld/%ld", e.a, e.b);
    case Kind::Ask:
        return "ask " + e.text;
    case Kind::Message:
        return "msg " + e.text;
    case Kind::Status:
        return "status " + e.text;
    case Kind::LabelText:
        return std::string("label ") + labels[e.a] + "=" + e.text;
    case Kind::ShowLabel:
        return std::string(e.b ? "show " : "hide ") + labels[e.a];
    case Kind::TxLine:
        return "tx " + e.text;
    case Kind::RxLine:
        return "rx " + e.text;
    case Kind::Counts:
        return Format("counts %ld/%ld", e.a, e.b);
    case Kind::Progress:
        return Format("bar %ld", e.a);
    case Kind::Release:
        return "release";
    case Kind::Arm:
        return Format("arm %ld/%ld", e.a, e.b);
    }
    return {};
}

struct Transcript {
    Transcript(DeviceType type, std::string image, std::string pw = "Ab3x")
        : device(type), text(std::move(image)), password(std::move(pw)) {}

    void Perform(ProgrammingSequence::Effects effects) {
        while (!effects.empty()) {
            ProgrammingSequence::Effects next;
            for (const UpgradeEffect& e : effects) {
                Log(Describe(e));
                if (e.kind == Kind::Send)
                    sent.push_back(e.text);
                else if (e.kind == Kind::Status)
                    status = e.text;
                else if (e.kind == Kind::Arm)
                    armed = unsigned(e.a);
                if (e.kind == Kind::GetLine) {
                    next = seq.LineRead(baud, byteSize);
                } else if (e.kind == Kind::Ask) {
                    next = seq.Answer(answer);
                } else if (e.kind == Kind::Read) {
                    std::string r;
                    if (!replies.empty()) {
                        r = replies.front();
                        replies.pop_front();
                    } else if (reply) {
                        r = reply(int(sent.size()));
                    }
                    r.resize(std::min<std::size_t>(r.size(), std::size_t(e.a)));
                    next = seq.Reply(reinterpret_cast<const std::uint8_t*>(r.data()), r.size());
                } else {
                    continue;
                }
                break; // the sequence goes on from the answer
            }
            effects = std::move(next);
        }
    }

    // "Start Upgrade", then every step as its timer fires, until none is armed or `until`
    // is armed.
    void Go(unsigned until = 0) {
        std::vector<HexFrame> frames;
        ASSERT_TRUE(ConvertHexFile(text.data(), text.size(), device == DeviceType::Px70, &frames));
        frameCount = int(frames.size());
        Perform(seq.Start());
        Perform(seq.Begin(device, frames, text, password));
        Steps(until);
    }
    void Steps(unsigned until = 0) {
        while (armed != 0 && armed != until) {
            const unsigned id = armed;
            armed = 0;
            Perform(seq.Timer(id));
        }
    }
    void Log(const std::string& entry) {
        log += entry + "; ";
        for (const char* kind :
             {"send ", "read ", "status ", "msg ", "ask ", "arm ", "line ", "release"})
            if (entry.rfind(kind, 0) == 0)
                events += entry + "; ";
    }
    bool Logged(const std::string& entry) const {
        return log.find("; " + entry + "; ") != std::string::npos ||
               log.rfind(entry + "; ", 0) == 0;
    }
    std::size_t Count(const std::string& entry) const {
        std::size_t n = 0;
        for (std::size_t at = log.find(entry); at != std::string::npos;
             at = log.find(entry, at + 1))
            ++n;
        return n;
    }
    // The entries beginning with `prefix`.
    std::string Only(const std::string& prefix) const {
        std::string out;
        for (std::size_t at = 0, end; (end = log.find("; ", at)) != std::string::npos; at = end + 2)
            if (log.compare(at, prefix.size(), prefix) == 0)
                out += log.substr(at, end + 2 - at);
        return out;
    }
    // The last events (sends, reads, texts, timers, line settings, release), as long as
    // `expected`.
    std::string LastEvents(const std::string& expected) const {
        return events.substr(events.size() - std::min(events.size(), expected.size()));
    }

    DeviceType device;
    std::string text;
    std::string password;
    ProgrammingSequence seq;
    std::deque<std::string> replies;
    std::function<std::string(int sends)> reply = [](int) { return kAckByte; };
    bool answer = true;
    unsigned baud = 9600;
    int byteSize = 8;
    unsigned armed = 0;
    int frameCount = 0;
    std::string status;
    std::vector<std::string> sent;
    std::string log;
    std::string events;
};

// Two frames as they stand in a file: a data record and the end-of-file record.
const char kSmallImage[] = ":020010001234A8\r\n:00000001FF\r\n";
const std::string kBegin =
    "counts 0/0; bar 0; label Erase=Erasing Program Flash; label Copy=---; "
    "label Execute=Executing Firmware Upgrade; label Programming=Programming....; "
    "hide Version; hide Password; hide Erase; hide Copy; hide Execute; hide Programming; "
    "hide Complete; ";
const std::string kStartRecords = "hangup; status Upgrading Firmware; show Programming; "
                                  "arm 30012/100; hangup; ";
std::string SmallRecords(const char* echo) {
    return "tx : 0x02 0x00 0x10 0x00 0x12 0x34 0xA8; rx ; send 3A 02 00 10 00 12 34 A8" +
           std::string(echo) +
           "; counts 1/0; read 1/4000; rx (\x06) 0x06 ; "
           "tx : 0x00 0x00 0x00 0x01 0xFF; rx ; send 3A 00 00 00 01 FF" +
           echo +
           "; counts 2/0; read 1/4000; rx (\x06) 0x06 ; "
           "hide Programming; show Complete; status Waiting for Reset; ";
}

TEST(ProgrammingSequenceTest, LoggerAndSdi12RoadsByteForByte) {
    Transcript logger(DeviceType::Quenta, kSmallImage);
    logger.replies = {"\r\n>", kOldVersion, kAccepted, "\xC5",
                      "\xD8",  kAckByte,    kAckByte,  "\rLogger V5.02 03/03/26\r\n"};
    logger.Go();
    EXPECT_EQ(logger.log,
              kBegin +
                  "arm 30007/100; hangup; send 0D; read 50/200; send 56 45 52 0D; read 50/700; "
                  "status Version Read; label Version=Previous Version : Logger V4.10 12/01/24; "
                  "show Version; send 50 41 53 53 57 44 3D 41 62 33 78 0D; read 50/700; "
                  "status Password Accepted; show Password; arm 30008/1000; "
                  "hangup; send 1B 55 AA 55 AA 51 55 AA 55 AA; read 1/3000; "
                  "status Erasing Program Flash; show Erase; arm 30010/2000; "
                  "hangup; read 1/3000; status Executing Program Download; show Execute; "
                  "arm 30011/1000; " +
                  kStartRecords + SmallRecords("") +
                  "arm 30013/7500; bar 100; hangup; send 56 45 52 0D; read 50/700; "
                  "status New Version : Logger V5.02 03/03/26; release; ");
    EXPECT_EQ(logger.seq.SendCount(), 2);
    EXPECT_EQ(logger.seq.ReSendCount(), 0);

    // Saved at 1200 7E1: the line goes back to it at the end. Everything sent is echoed.
    Transcript sdi12(DeviceType::Lindqvar, kSmallImage);
    sdi12.baud = 1200;
    sdi12.byteSize = 7;
    sdi12.replies = {"0\r\n", "000000\r\n"};
    sdi12.Go();
    const std::string stages = "label Copy=---; label Execute=Executing Firmware Upgrade; "
                               "show Copy; show Execute; ";
    EXPECT_EQ(sdi12.log, kBegin +
                             "arm 30002/100; hangup; getline; line 1200 7; send 3F 21 0D echo; "
                             "status Getting SDI-12 Address; arm 30003/500; "
                             "hangup; read 15/400; status Address 0 - OK; " +
                             stages +
                             "arm 30004/500; send 30 58 50 52 4F 47 4C 51 21 0D echo; "
                             "status Erasing Program Flash; show Erase; arm 30005/1000; "
                             "hangup; read 18/200; status Erase Done; " +
                             stages + "line 9600 8; arm 30011/600; " + kStartRecords +
                             SmallRecords(" echo") +
                             "arm 30013/500; bar 100; hangup; status ; line 1200 7; release; ");
}

TEST(ProgrammingSequenceTest, EveryDeviceTypeSendsItsOwnCommands) {
    const std::string password = "0D; 56 45 52 0D; 50 41 53 53 57 44 3D 41 62 33 78 0D; ";
    const std::string version = "\rLogger V5.02 03/03/26\r\n";
    // clang-format off
    const struct {
        DeviceType type;
        std::string sent;   // before the records
        std::string stages; // timers of the logger stages
        std::string versionReply, status;
    } rows[] = {
        {DeviceType::Quenta, password + "1B 55 AA 55 AA 51 55 AA 55 AA; ",
         "arm 30010/2000; arm 30011/1000; ", version, "New Version : Logger V5.02 03/03/26"},
        {DeviceType::Px70, password + "1B 55 AA 55 AA 50 55 AA 55 AA; ",
         "arm 30009/2000; arm 30010/1000; arm 30011/1000; ", version, "New Version : Logger V5.02 03/03/26"},
        {DeviceType::Px80, password + "1B 55 AA 55 AA 51 55 AA 55 AA; ",
         "arm 30010/2000; arm 30011/1000; ", version, "New Version : Logger V5.02 03/03/26"},
        // No password; 6 to 8 bytes are a version too.
        {DeviceType::Ferrant, "1B 66 AA 55 AA 46 55 AA 55 AA; ",
         "arm 30010/2000; arm 30011/1000; ", "\rF2.1\r\n", "New Version : F2.1"},
        {DeviceType::Vx5400, "3F 21 0D 0A; 30 58 50 52 4F 47 21 0D; ", "", "", ""},
        {DeviceType::Vx6400, "3F 21 0D 0A; 0D 30 58 50 52 4F 47 21; ", "", "", ""},
        {DeviceType::Lindqvar, "3F 21 0D; 30 58 50 52 4F 47 4C 51 21 0D; ", "", "", ""},
        {DeviceType::LindqvarPlus, "3F 21 0D; 30 58 50 52 4F 47 4C 50 21 0D; ", "", "", ""},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.type));
        const bool sdi12 = IsSdi12Device(row.type);
        const bool px70 = row.type == DeviceType::Px70;
        // 120 records: three ticks of the record loop.
        Transcript r(row.type, FirmwareFile(120));
        if (sdi12)
            r.replies = {"0\r\n", "000000\r\n"};
        else if (row.type != DeviceType::Ferrant)
            r.replies = {"\r\n>", kOldVersion, kAccepted};
        if (!sdi12) {
            r.replies.push_back("\xC5");
            if (px70)
                r.replies.push_back("\xC3");
            r.replies.push_back("\xD8");
        }
        r.Go(IDT_START_RECORDS);
        EXPECT_TRUE(r.replies.empty());
        std::string sent;
        for (const std::string& bytes : r.sent)
            sent += Hex(bytes) + "; ";
        EXPECT_EQ(sent, row.sent);
        EXPECT_EQ(r.Count(" echo;"), sdi12 ? 2u : 0u);
        const std::string arms = r.Only("arm ");
        EXPECT_EQ(arms.substr(arms.size() - row.stages.size()), row.stages);
        EXPECT_EQ(r.Logged("status Erasing Data Flash"), px70);
        EXPECT_EQ(r.Logged("status Copying Program to Data Flash"), px70);

        r.log.clear();
        r.events.clear();
        r.sent.clear();
        r.reply = [&](int sends) {
            return sends <= r.frameCount ? kAckByte + "\r" : row.versionReply;
        };
        r.Steps();
        ASSERT_EQ(r.sent.size(), sdi12 ? 121u : 122u);
        std::vector<std::string> frames;
        for (std::size_t k = 0; k < 121; ++k)
            frames.push_back(r.sent[k].substr(1));
        EXPECT_EQ(frames, BinaryRecords(120));
        // 50 records a tick, then 50 ms to the next.
        EXPECT_EQ(r.Count("arm 30012/100"), 1u);
        EXPECT_EQ(r.Count("arm 30012/50"), 2u);
        EXPECT_EQ(r.Count(px70 ? "read 2/4000" : "read 1/4000"), 121u);
        EXPECT_TRUE(r.Logged("bar 41") && r.Logged("bar 82") && r.Logged("bar 100"));
        EXPECT_TRUE(r.Logged(px70 ? "rx (\x06) 0x06 (\r) 0x0D " : "rx (\x06) 0x06 "));
        EXPECT_EQ(r.seq.SendCount(), 121);
        EXPECT_EQ(r.LastEvents("release; "), "release; ");
        EXPECT_EQ(r.status, row.status);
        if (sdi12) {
            EXPECT_TRUE(r.Logged("arm 30013/500"));
            EXPECT_EQ(r.Count("line "), 1u);
            EXPECT_TRUE(r.Logged("line 9600 8"));
        } else {
            EXPECT_TRUE(r.Logged("arm 30013/7500"));
            EXPECT_EQ(r.sent.back(), row.type == DeviceType::Ferrant ? "v\r" : "VER\r");
        }
    }
}

TEST(ProgrammingSequenceTest, EveryRoadBeforeTheRecords) {
    const std::string nak = kNakByte;
    const std::string version =
        "arm 30007/100; send 0D; read 50/200; send 56 45 52 0D; read 50/700; ";
    const std::string pw = "send 50 41 53 53 57 44 3D 41 62 33 78 0D; read 50/700; ";
    const std::string address = "arm 30002/100; line 1200 7; send 3F 21 0D 0A echo; "
                                "status Getting SDI-12 Address; arm 30003/500; read 15/400; ";
    const std::string fullSpeed = "status May be in Program Mode; line 9600 8; arm 30011/600; ";
    const std::string xprog = "send 30 58 50 52 4F 47 21 0D echo; status Erasing Program Flash; "
                              "arm 30005/1000; read 18/200; ";
    const std::string sdi12End = "release; line 9600 8; ";
    const std::string skip = "status Already in Programming Mode; arm 30011/1000; ";
    const std::string inMode = "status Already in program mode; arm 30011/1000; ";
    const std::string ask = "arm 30006/4500; read 15/400; ask Bad or No reply, check cables and "
                            "RS232 mode.\n\nTry upgrading the firmware anyway?; ";
    const std::string checkType =
        "msg Check the correct Device Type is selected !!!!\nIf Ok then turn Device Power off "
        "and on - and try programming sequence again; release; ";
    // clang-format off
    const struct {
        const char* name;
        DeviceType type;
        std::string password;
        std::vector<std::string> replies; // then silence
        bool answer;
        std::string events; // the run's last events
    } rows[] = {
        // The password step.
        {"short password", DeviceType::Quenta, "Ab3", {}, true,
         "arm 30007/100; status Enter 4 char password; msg Enter the 4 character Password; "
         "release; "},
        {"wrong password", DeviceType::Px80, "Ab3x", {"\r\n>", kOldVersion, "\rIncorrect Password\r\n"}, true,
         version + "status Version Read; " + pw + "status Incorrect Password; msg Wrong Password - "
         "Note it is Case Sensitive. Change the password and try again; release; "},
        {"silent logger", DeviceType::Quenta, "Ab3x", {}, true,
         version + "read 1/2000; " + pw + "read 1/2000; status No response; msg No Reply from "
         "Logger. Check cables, comm port and power; release; "},
        {"invalid reply", DeviceType::Quenta, "Ab3x", {"", "junk", "\rPassword Refused!\r\n"}, true,
         version + pw + "status Invalid response; msg Invalid response. Check Logger baud rate "
         "is set correctly; release; "},
        {"NAK to the version", DeviceType::Quenta, "Ab3x", {"", nak}, true, version + inMode},
        {"NAK after a silent version", DeviceType::Quenta, "Ab3x", {"", "", nak}, true,
         version + "read 1/2000; " + inMode},
        {"NAK to the password", DeviceType::Quenta, "Ab3x", {"", kOldVersion, nak}, true,
         version + "status Version Read; " + pw + inMode},
        {"NAK after a silent password", DeviceType::Quenta, "Ab3x", {"", kOldVersion, "", nak}, true,
         version + "status Version Read; " + pw + "read 1/2000; " + inMode},
        // The program-mode stages.
        {"Ferrant: NAK to the entry", DeviceType::Ferrant, "", {nak}, true,
         "arm 30007/100; arm 30008/100; send 1B 66 AA 55 AA 46 55 AA 55 AA; read 1/3000; " + skip},
        {"Ferrant: silent entry", DeviceType::Ferrant, "", {}, true,
         "read 1/3000; status Erasing Program Flash -> Invalid programming response; " + checkType},
        {"PX70: wrong entry answer", DeviceType::Px70, "Ab3x", {"", kOldVersion, kAccepted, "\xD8"}, true,
         "send 1B 55 AA 55 AA 50 55 AA 55 AA; read 1/3000; "
         "status Erasing Data Flash -> Invalid programming response; " + checkType},
        {"PX70: silent copy stage", DeviceType::Px70, "Ab3x", {"", kOldVersion, kAccepted, "\xC5"}, true,
         "status Erasing Data Flash; arm 30009/2000; read 1/3000; status Copying Program to Data "
         "Flash -> Invalid programming response; msg Turn Logger Power off and on - then try "
         "programming sequence again; release; "},
        {"PX70: NAK at the copy stage", DeviceType::Px70, "Ab3x",
         {"", kOldVersion, kAccepted, "\xC5", nak}, true, "arm 30009/2000; read 1/3000; " + skip},
        {"PX70: the copy and execute stages", DeviceType::Px70, "Ab3x",
         {"", kOldVersion, kAccepted, "\xC5", "\xC3", "\xD8"}, true,
         "read 1/3000; status Copying Program to Data Flash; arm 30010/1000; read 1/3000; "
         "status Executing from Data Flash; arm 30011/1000; "},
        {"wrong execute answer", DeviceType::Quenta, "Ab3x", {"", kOldVersion, kAccepted, "\xC5", "\xC3"}, true,
         "arm 30010/2000; read 1/3000; status Executing from Data Flash -> Invalid programming "
         "response; msg Turn Logger Power off and on - then try Firmare Upgrade sequence again; "
         "release; "},
        {"NAK at the execute stage", DeviceType::Px80, "Ab3x",
         {"", kOldVersion, kAccepted, "\xC5", nak}, true, "arm 30010/2000; read 1/3000; " + skip},
        // The SDI-12 address check and programming command.
        {"address 1", DeviceType::Vx5400, "", {"1\r\n"}, true,
         address + "msg Set the transducer SDI-12 Address to 0 and try again; " + sdi12End},
        {"one byte: may be in program mode", DeviceType::Vx5400, "", {nak}, true, address + fullSpeed},
        {"one byte late", DeviceType::Vx5400, "", {"", "x"}, true,
         address + "arm 30006/4500; read 15/400; " + fullSpeed},
        {"silent, Yes", DeviceType::Vx5400, "", {}, true, address + ask + fullSpeed},
        {"silent, No", DeviceType::Vx5400, "", {}, false, address + ask + sdi12End},
        {"unknown reply", DeviceType::Vx5400, "", {"0\r\n\n"}, true,
         address + "msg Unknown reply, check cables, RS232 mode and try again; " + sdi12End},
        {"silent Xprog", DeviceType::Vx5400, "", {"0\r\n"}, true,
         xprog + "status No Response to Xprog command; " + sdi12End},
        {"five bytes to Xprog", DeviceType::Vx5400, "", {"0\r\n", "000\r\n"}, true,
         xprog + "status Already in Program Mode; line 9600 8; arm 30011/600; "},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Transcript r(row.type, kSmallImage, row.password);
        r.replies.assign(row.replies.begin(), row.replies.end());
        r.reply = nullptr;
        r.answer = row.answer;
        r.Go(IDT_START_RECORDS);
        EXPECT_EQ(r.LastEvents(row.events), row.events);
        EXPECT_TRUE(r.replies.empty());
        EXPECT_EQ(r.sent.empty(), row.password == "Ab3");
    }
}

// A run that reaches the records at once (Ferrant through its stages, an SDI-12 type at
// address 0, the other types already in program mode at the version request); its device
// answers record transmission k (from 1) with record(k).
Transcript RecordRun(DeviceType type, int records,
                     std::function<std::string(int transmission)> record) {
    Transcript r(type, FirmwareFile(records));
    const int before = type == DeviceType::Ferrant ? 1 : 2;
    r.replies = IsSdi12Device(type)           ? std::deque<std::string>{"0\r\n", "000000\r\n"}
                : type == DeviceType::Ferrant ? std::deque<std::string>{"\xC5", "\xD8"}
                                              : std::deque<std::string>{"", kNakByte};
    r.reply = [before, record](int sends) { return record(sends - before); };
    return r;
}

TEST(ProgrammingSequenceTest, RecordsRefusedUnansweredAndStopped) {
    {
        // Already in program mode at the version request: straight to the records.
        Transcript r = RecordRun(DeviceType::Quenta, 10, [](int k) {
            return k <= 11 ? kAckByte : "\rLogger V5.02 03/03/26\r\n";
        });
        r.Go();
        ASSERT_EQ(r.sent.size(), 2u + 11 + 1);
        EXPECT_EQ(r.sent[0], "\r");
        EXPECT_EQ(r.sent[1], "VER\r");
        EXPECT_EQ(std::vector<std::string>(r.sent.begin() + 2, r.sent.end() - 1), [] {
            std::vector<std::string> frames;
            for (const std::string& record : BinaryRecords(10))
                frames.push_back(":" + record);
            return frames;
        }());
        EXPECT_EQ(r.sent.back(), "VER\r");
        EXPECT_EQ(r.status, "New Version : Logger V5.02 03/03/26");
    }
    {
        // A record refused twice goes again, the same bytes; the re-sends count apart.
        Transcript r = RecordRun(DeviceType::Ferrant, 10, [](int k) {
            return k == 4 || k == 5 ? kNakByte : k <= 13 ? kAckByte : "\rF2.1\r\n";
        });
        r.Go();
        ASSERT_EQ(r.sent.size(), 1u + 13 + 1);
        EXPECT_EQ(r.sent[4], r.sent[5]);
        EXPECT_EQ(r.sent[5], r.sent[6]);
        EXPECT_EQ(r.sent[13], ":" + BinaryRecords(10)[10]);
        EXPECT_EQ(r.seq.ReSendCount(), 2);
        EXPECT_EQ(r.seq.SendCount(), 11);
        EXPECT_TRUE(r.Logged("counts 4/2"));
        EXPECT_EQ(r.status, "New Version : F2.1");
    }
    {
        // A record never answered goes out six times, then the upgrade fails.
        Transcript r =
            RecordRun(DeviceType::Vx5400, 10, [](int k) { return k < 6 ? kAckByte : ""; });
        r.Go();
        EXPECT_EQ(r.sent.size(), 2u + 5 + 6);
        EXPECT_EQ(r.seq.ReSendCount(), 5);
        const std::string end = "read 1/4000; status Programming -> Invalid Response; " +
                                std::string(kInvalid) + "line 9600 8; release; ";
        EXPECT_EQ(r.LastEvents(end), end);
        EXPECT_EQ(r.log.substr(r.log.size() - 8), "bar 54; "); // 6 of 11 frames sent
        EXPECT_EQ(r.armed, 0u);
    }
    for (DeviceType type : {DeviceType::Px70, DeviceType::Quenta, DeviceType::Lindqvar}) {
        // Refused at every record: twenty refusals end it.
        SCOPED_TRACE(int(type));
        Transcript r = RecordRun(type, 10, [](int) { return kNakByte; });
        r.Go();
        EXPECT_EQ(r.sent.size(), 2u + 20);
        EXPECT_EQ(r.seq.ReSendCount(), 19);
        EXPECT_EQ(r.Count("arm 30012/50"), 19u);
        const std::string end = "status Programming -> Invalid Response; " + std::string(kInvalid) +
                                (IsSdi12Device(type) ? "line 9600 8; " : "") + "release; ";
        EXPECT_EQ(r.LastEvents(end), end);
        EXPECT_EQ(r.armed, 0u);
    }
    {
        // A NAK to the last record completes the upgrade.
        Transcript r = RecordRun(DeviceType::Ferrant, 3, [](int k) {
            return k < 4 ? kAckByte : k == 4 ? kNakByte : "";
        });
        r.Go();
        EXPECT_TRUE(r.Logged("show Complete"));
        EXPECT_TRUE(r.Logged("arm 30013/7500"));
    }
    {
        // Stopped while record 5 is refused: five accepted, and the user told what to do.
        Transcript r =
            RecordRun(DeviceType::Quenta, 10, [](int k) { return k <= 5 ? kAckByte : kNakByte; });
        r.Go(IDT_RECORDS);
        while (r.sent.size() < 2 + 9)
            r.Perform(r.seq.Timer(IDT_RECORDS));
        r.log.clear();
        r.seq.RequestStop();
        r.Perform(r.seq.Timer(IDT_RECORDS));
        EXPECT_EQ(r.log, "hangup; rx ; send 3A " + Hex(BinaryRecords(10)[5]) +
                             "; counts 6/4; read 1/4000; rx (\x15) 0x15 ; bar 54; bar 45; "
                             "label Programming=Programming Stopped; "
                             "status Upgrade Stopped - 5 records accepted; release; "
                             "msg Upgrade stopped - the logger may still be in program mode.\n"
                             "Turn Logger Power off and on - then try programming sequence "
                             "again; ");
    }
}

TEST(ProgrammingSequenceTest, NewVersionRepliesAndSendReset) {
    // clang-format off
    const struct {
        DeviceType type;
        std::vector<std::string> replies;
        std::string events;
    } rows[] = {
        {DeviceType::Quenta, {kNakByte}, "status Error -> Still in program mode !!!; release; "},
        {DeviceType::Quenta, {"x"}, "status Error -> Illegal response to Version Request !!!; release; "},
        {DeviceType::Quenta, {"", kNakByte}, "read 1/2000; status Error -> Still in program mode !!!; release; "},
        {DeviceType::Quenta, {"", ""}, "read 1/2000; status Error -> No Reply to Version Request !!!; release; "},
        {DeviceType::Px80, {"\rV5.02\r\n"}, "status Error -> Illegal response to Version Request !!!; release; "},
        {DeviceType::Ferrant, {"\rF2.10\r\n"}, "send 76 0D; read 50/700; status New Version : F2.10; release; "},
        {DeviceType::Ferrant, {"\rF2.100\r\n"}, "status Error -> Illegal response to Version Request !!!; release; "},
    };
    // clang-format on
    for (const auto& row : rows) {
        Transcript r(row.type, kSmallImage);
        r.replies = {kNakByte};
        if (row.type != DeviceType::Ferrant)
            r.replies.push_front("");
        r.Go(IDT_NEW_VERSION);
        r.replies.assign(row.replies.begin(), row.replies.end());
        r.reply = nullptr;
        r.Steps();
        EXPECT_EQ(r.LastEvents(row.events), row.events);
    }

    // "Send Reset" between two transmissions of a refused record: the record goes again.
    Transcript r = RecordRun(DeviceType::Vx6400, 2, [](int k) { return k == 1 ? kNakByte : ""; });
    r.Go(IDT_RECORDS);
    r.Perform(r.seq.Timer(IDT_RECORDS));
    r.log.clear();
    r.Perform(ProgrammingSequence::SendReset(DeviceType::Vx6400));
    EXPECT_EQ(r.log, "tx : 0x00 0x00 0x00 0x01 0xFF; send 3A 00 00 00 01 FF echo; ");
    r.Perform(r.seq.Timer(IDT_RECORDS));
    ASSERT_EQ(r.sent.size(), 2u + 3);
    EXPECT_EQ(r.sent[4], r.sent[2]);
    EXPECT_EQ(ProgrammingSequence::SendReset(DeviceType::Px80)[1].a, 0);
}

} // namespace
