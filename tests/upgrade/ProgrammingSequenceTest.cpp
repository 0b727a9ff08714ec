// The programming sequence without a window: a scripted device answers each read, and every
// effect is written down as one entry of a transcript ("; " after each).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <map>

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
const std::string kNewVersion = "\rLogger V5.02 03/03/26\r\n";
const std::string kAccepted = "\rPassword Accepted\r\n";
const std::string kInvalid = "status Programming -> Invalid Response; msg Invalid response during "
                             "programming. Try clicking on 'Start Upgrade' again; ";

std::string Describe(const UpgradeEffect& e) {
    static const char* const names[] = {"hangup", "getline", "line",    "send", "read", "ask",
                                        "msg",    "status",  "label",   "show", "tx",   "rx",
                                        "counts", "bar",     "release", "arm"};
    static const char* const labels[] = {"Version", "Password",    "Erase",   "Copy",
                                         "Execute", "Programming", "Complete"};
    const std::string name = names[int(e.kind)];
    switch (e.kind) {
    case Kind::SetLine:
        return Format("line %u %d", e.baud, e.byteSize);
    case Kind::Send:
        return "send " + Hex(e.text) + (e.readEcho ? " echo" : "");
    case Kind::Read:
        return name + Format(" %ld/%ld", e.count, e.ms);
    case Kind::Counts:
        return name + Format(" %d/%d", e.sends, e.reSends);
    case Kind::Arm:
        return name + Format(" %u/%ld", e.timer, e.ms);
    case Kind::LabelText:
        return std::string("label ") + labels[int(e.label)] + "=" + e.text;
    case Kind::ShowLabel:
        return std::string(e.show ? "show " : "hide ") + labels[int(e.label)];
    case Kind::Progress:
        return Format("bar %d", e.position);
    case Kind::RestartHangup:
    case Kind::GetLine:
    case Kind::Release:
        return name;
    default:
        return name + " " + e.text;
    }
}

// The end of `s`, as long as `like`.
std::string Tail(const std::string& s, const std::string& like) {
    return s.substr(s.size() - std::min(s.size(), like.size()));
}

struct Transcript {
    Transcript(DeviceType type, std::string image, std::string pw = "Ab3x")
        : device(type), text(std::move(image)), password(std::move(pw)) {}

    // Carries out the effects in order; a GetLine, Read or Ask ends a list and its answer
    // gives the next. A read takes the next scripted reply, else reply(transmissions so far).
    void Perform(ProgrammingSequence::Effects effects) {
        for (std::size_t i = 0; i < effects.size(); ++i) {
            const UpgradeEffect e = effects[i];
            log += Describe(e) + "; ";
            if (e.kind == Kind::Send)
                sent.push_back(e.text);
            if (e.kind == Kind::Arm)
                armed = e.timer;
            if (e.kind == Kind::GetLine) {
                effects = seq.LineRead(baud, byteSize);
            } else if (e.kind == Kind::Ask) {
                effects = seq.Answer(answer);
            } else if (e.kind == Kind::Read) {
                std::string r;
                if (!replies.empty()) {
                    r = replies.front();
                    replies.pop_front();
                } else if (reply) {
                    r = reply(int(sent.size()));
                }
                r.resize(std::min<std::size_t>(r.size(), std::size_t(e.count)));
                effects = seq.Reply(reinterpret_cast<const std::uint8_t*>(r.data()), r.size());
            } else {
                continue;
            }
            i = std::size_t(-1);
        }
    }

    // "Start Upgrade", then every step as its timer fires, until none is armed or `until` is.
    void Go(unsigned until = 0) {
        std::vector<HexFrame> frames;
        ASSERT_TRUE(ConvertHexFile(text.data(), text.size(), device == DeviceType::Px70, &frames));
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
    std::size_t Count(const std::string& entry) const {
        std::size_t n = 0;
        for (std::size_t at = log.find(entry); at != std::string::npos;
             at = log.find(entry, at + 1))
            ++n;
        return n;
    }
    // The entries of the given kinds.
    std::string Only(std::initializer_list<const char*> kinds) const {
        std::string out;
        for (std::size_t at = 0, end; (end = log.find("; ", at)) != std::string::npos;
             at = end + 2) {
            for (const char* kind : kinds)
                if (log.compare(at, std::strlen(kind), kind) == 0)
                    out += log.substr(at, end + 2 - at);
        }
        return out;
    }
    // The sends, reads, texts, timers, line settings and release, without the labels,
    // diagnostics and hang-up reloads.
    std::string Events() const {
        return Only({"send ", "read ", "status ", "msg ", "ask ", "arm ", "line ", "release"});
    }

    DeviceType device;
    std::string text;
    std::string password;
    ProgrammingSequence seq;
    std::deque<std::string> replies;
    std::function<std::string(int sends)> reply;
    bool answer = true;
    unsigned baud = 9600;
    int byteSize = 8;
    unsigned armed = 0;
    std::vector<std::string> sent;
    std::string log;
};

// Two frames as they stand in a file: a data record and the end-of-file record.
const char kSmallImage[] = ":020010001234A8\r\n:00000001FF\r\n";

TEST(ProgrammingSequenceTest, EveryDeviceTypeByteForByte) {
    const std::string ack = "\x06\r"; // PX70 reads two bytes per record, the others one
    const std::string password =
        "arm 30007/100; hangup; send 0D; read 50/200; send 56 45 52 0D; read 50/700; "
        "status Version Read; label Version=Previous Version : Logger V4.10 12/01/24; "
        "show Version; send 50 41 53 53 57 44 3D 41 62 33 78 0D; read 50/700; "
        "status Password Accepted; show Password; arm 30008/1000; ";
    const auto entry = [](const char* ferrant, const char* type) {
        return Format("hangup; send 1B %s AA 55 AA %s 55 AA 55 AA; read 1/3000; ", ferrant, type);
    };
    const std::string stages = "status Erasing Program Flash; show Erase; arm 30010/2000; hangup; "
                               "read 1/3000; status Executing Program Download; show Execute; "
                               "arm 30011/1000; ";
    const std::string px70Stages =
        "status Erasing Data Flash; show Erase; arm 30009/2000; hangup; read 1/3000; "
        "status Copying Program to Data Flash; show Copy; arm 30010/1000; hangup; read 1/3000; "
        "status Executing from Data Flash; show Execute; arm 30011/1000; ";
    const auto newVersion = [](const char* request, const char* version) {
        return Format("arm 30013/7500; bar 100; hangup; send %s; read 50/700; "
                      "status New Version : %s; release; ",
                      request, version);
    };
    // Saved at 1200 7E1: the line goes back to it at the end. Everything sent is echoed.
    const auto sdi12 = [](const char* query, const char* xprog) {
        const std::string shown = "label Copy=---; label Execute=Executing Firmware Upgrade; "
                                  "show Copy; show Execute; ";
        return Format("arm 30002/100; hangup; getline; line 1200 7; send %s echo; "
                      "status Getting SDI-12 Address; arm 30003/500; hangup; read 15/400; "
                      "status Address 0 - OK; ",
                      query) +
               shown +
               Format("arm 30004/500; send %s echo; status Erasing Program Flash; show Erase; "
                      "arm 30005/1000; hangup; read 18/200; status Erase Done; ",
                      xprog) +
               shown + "line 9600 8; arm 30011/600; ";
    };
    const std::string sdi12End = "arm 30013/500; bar 100; hangup; status ; line 1200 7; release; ";
    const std::deque<std::string> logger = {"\r\n>", kOldVersion, kAccepted, "\xC5",
                                            "\xD8",  ack,         ack,       kNewVersion};
    const std::deque<std::string> address0 = {"0\r\n", "000000\r\n", ack, ack};
    const char* const vx = "3F 21 0D 0A";
    const char* const lq = "3F 21 0D";
    // clang-format off
    const struct {
        DeviceType type;
        std::deque<std::string> script;
        std::string road, end; // before and after the records
    } rows[] = {
        {DeviceType::Quenta, logger, password + entry("55", "51") + stages,
         newVersion("56 45 52 0D", "Logger V5.02 03/03/26")},
        {DeviceType::Px80, logger, password + entry("55", "51") + stages,
         newVersion("56 45 52 0D", "Logger V5.02 03/03/26")},
        {DeviceType::Px70, {"\r\n>", kOldVersion, kAccepted, "\xC5", "\xC3", "\xD8", ack, ack, kNewVersion},
         password + entry("55", "50") + px70Stages, newVersion("56 45 52 0D", "Logger V5.02 03/03/26")},
        // No password; 6 to 8 bytes are a version too.
        {DeviceType::Ferrant, {"\xC5", "\xD8", ack, ack, "\rF2.1\r\n"},
         "arm 30007/100; hangup; arm 30008/100; " + entry("66", "46") + stages,
         newVersion("76 0D", "F2.1")},
        {DeviceType::Vx5400, address0, sdi12(vx, "30 58 50 52 4F 47 21 0D"), sdi12End},
        {DeviceType::Vx6400, address0, sdi12(vx, "0D 30 58 50 52 4F 47 21"), sdi12End},
        {DeviceType::Lindqvar, address0, sdi12(lq, "30 58 50 52 4F 47 4C 51 21 0D"), sdi12End},
        {DeviceType::LindqvarPlus, address0, sdi12(lq, "30 58 50 52 4F 47 4C 50 21 0D"), sdi12End},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.type));
        const bool px70 = row.type == DeviceType::Px70;
        const std::string echo = IsSdi12Device(row.type) ? " echo" : "";
        const std::string read =
            px70 ? "read 2/4000; rx (\x06) 0x06 (\r) 0x0D ; " : "read 1/4000; rx (\x06) 0x06 ; ";
        Transcript r(row.type, kSmallImage);
        r.baud = 1200;
        r.byteSize = 7;
        r.replies = row.script;
        r.Go();
        EXPECT_EQ(r.log,
                  Format("counts 0/0; bar 0; label Erase=%s; label Copy=%s; label Execute=%s; ",
                         px70 ? "Erasing Data Flash" : "Erasing Program Flash",
                         px70 ? "Copying Firmware to Data Flash" : "---",
                         px70 ? "Executing from Data Flash" : "Executing Firmware Upgrade") +
                      "label Programming=Programming....; hide Version; hide Password; "
                      "hide Erase; hide Copy; hide Execute; hide Programming; hide Complete; " +
                      row.road +
                      "hangup; status Upgrading Firmware; show Programming; arm 30012/100; "
                      "hangup; tx : 0x02 0x00 0x10 0x00 0x12 0x34 0xA8; rx ; "
                      "send 3A 02 00 10 00 12 34 A8" +
                      echo + "; counts 1/0; " + read +
                      "tx : 0x00 0x00 0x00 0x01 0xFF; rx ; send 3A 00 00 00 01 FF" + echo +
                      "; counts 2/0; " + read +
                      "hide Programming; show Complete; status Waiting for Reset; " + row.end);
        EXPECT_TRUE(r.replies.empty());
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
        std::vector<std::string> replies; // then silence
        std::string events;               // the run's last events
        bool answer = true;
        std::string password = "Ab3x";
    } rows[] = {
        // The password step.
        {"short password", DeviceType::Quenta, {},
         "arm 30007/100; status Enter 4 char password; msg Enter the 4 character Password; "
         "release; ", true, "Ab3"},
        {"wrong password", DeviceType::Px80, {"\r\n>", kOldVersion, "\rIncorrect Password\r\n"},
         version + "status Version Read; " + pw + "status Incorrect Password; msg Wrong Password - "
         "Note it is Case Sensitive. Change the password and try again; release; "},
        {"silent logger", DeviceType::Quenta, {},
         version + "read 1/2000; " + pw + "read 1/2000; status No response; msg No Reply from "
         "Logger. Check cables, comm port and power; release; "},
        {"invalid reply", DeviceType::Quenta, {"", "junk", "\rPassword Refused!\r\n"},
         version + pw + "status Invalid response; msg Invalid response. Check Logger baud rate "
         "is set correctly; release; "},
        {"NAK to the version", DeviceType::Quenta, {"", nak}, version + inMode},
        {"NAK after a silent version", DeviceType::Quenta, {"", "", nak}, version + "read 1/2000; " + inMode},
        {"NAK to the password", DeviceType::Quenta, {"", kOldVersion, nak},
         version + "status Version Read; " + pw + inMode},
        {"NAK after a silent password", DeviceType::Quenta, {"", kOldVersion, "", nak},
         version + "status Version Read; " + pw + "read 1/2000; " + inMode},
        // The program-mode stages.
        {"Ferrant: NAK to the entry", DeviceType::Ferrant, {nak},
         "arm 30007/100; arm 30008/100; send 1B 66 AA 55 AA 46 55 AA 55 AA; read 1/3000; " + skip},
        {"Ferrant: silent entry", DeviceType::Ferrant, {},
         "read 1/3000; status Erasing Program Flash -> Invalid programming response; " + checkType},
        {"PX70: wrong entry answer", DeviceType::Px70, {"", kOldVersion, kAccepted, "\xD8"},
         "send 1B 55 AA 55 AA 50 55 AA 55 AA; read 1/3000; "
         "status Erasing Data Flash -> Invalid programming response; " + checkType},
        {"PX70: silent copy stage", DeviceType::Px70, {"", kOldVersion, kAccepted, "\xC5"},
         "status Erasing Data Flash; arm 30009/2000; read 1/3000; status Copying Program to Data "
         "Flash -> Invalid programming response; msg Turn Logger Power off and on - then try "
         "programming sequence again; release; "},
        {"PX70: NAK at the copy stage", DeviceType::Px70, {"", kOldVersion, kAccepted, "\xC5", nak},
         "arm 30009/2000; read 1/3000; " + skip},
        {"wrong execute answer", DeviceType::Quenta, {"", kOldVersion, kAccepted, "\xC5", "\xC3"},
         "arm 30010/2000; read 1/3000; status Executing from Data Flash -> Invalid programming "
         "response; msg Turn Logger Power off and on - then try Firmare Upgrade sequence again; "
         "release; "},
        {"NAK at the execute stage", DeviceType::Px80, {"", kOldVersion, kAccepted, "\xC5", nak},
         "arm 30010/2000; read 1/3000; " + skip},
        // The SDI-12 address check and programming command.
        {"address 1", DeviceType::Vx5400, {"1\r\n"},
         address + "msg Set the transducer SDI-12 Address to 0 and try again; " + sdi12End},
        {"one byte: may be in program mode", DeviceType::Vx5400, {nak}, address + fullSpeed},
        {"one byte late", DeviceType::Vx5400, {"", "x"}, address + "arm 30006/4500; read 15/400; " + fullSpeed},
        {"silent, Yes", DeviceType::Vx5400, {}, address + ask + fullSpeed},
        {"silent, No", DeviceType::Vx5400, {}, address + ask + sdi12End, false},
        {"unknown reply", DeviceType::Vx5400, {"0\r\n\n"},
         address + "msg Unknown reply, check cables, RS232 mode and try again; " + sdi12End},
        {"silent Xprog", DeviceType::Vx5400, {"0\r\n"},
         xprog + "status No Response to Xprog command; " + sdi12End},
        {"five bytes to Xprog", DeviceType::Vx5400, {"0\r\n", "000\r\n"},
         xprog + "status Already in Program Mode; line 9600 8; arm 30011/600; "},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Transcript r(row.type, kSmallImage, row.password);
        r.replies.assign(row.replies.begin(), row.replies.end());
        r.answer = row.answer;
        r.Go(IDT_START_RECORDS);
        EXPECT_EQ(Tail(r.Events(), row.events), row.events);
        EXPECT_TRUE(r.replies.empty());
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

// ":" and the binary records of FirmwareFile(records), record k sent again[k] more times.
std::vector<std::string> Frames(int records, std::map<int, int> again = {}) {
    std::vector<std::string> frames;
    int k = 0;
    for (const std::string& record : BinaryRecords(records))
        frames.insert(frames.end(), std::size_t(1 + again[k++]), ":" + record);
    return frames;
}

TEST(ProgrammingSequenceTest, RecordsRefusedUnansweredAndStopped) {
    {
        // Already in program mode at the version request: straight to the records, 50 a tick
        // with 50 ms between ticks.
        Transcript r = RecordRun(DeviceType::Quenta, 120,
                                 [](int k) { return k <= 121 ? kAckByte : kNewVersion; });
        r.Go();
        std::vector<std::string> sent = Frames(120);
        sent.insert(sent.begin(), {"\r", "VER\r"});
        sent.push_back("VER\r");
        EXPECT_EQ(r.sent, sent);
        EXPECT_EQ(r.Only({"arm ", "bar "}),
                  "bar 0; arm 30007/100; arm 30011/1000; arm 30012/100; bar 41; arm 30012/50; "
                  "bar 82; arm 30012/50; arm 30013/7500; bar 100; ");
        EXPECT_EQ(r.Count("counts 121/0;"), 1u);
    }
    {
        // Record 3 refused 19 times goes again, the same bytes, the re-sends counted apart;
        // an acknowledgement starts the count again (record 4 refused once more); a NAK to the
        // last record completes the upgrade.
        Transcript r = RecordRun(DeviceType::Ferrant, 10, [](int k) {
            return (k >= 4 && k <= 22) || k == 24 || k == 31 ? kNakByte
                   : k < 31                                  ? kAckByte
                                                             : "\rF2.1\r\n";
        });
        r.Go();
        std::vector<std::string> sent = Frames(10, {{3, 19}, {4, 1}});
        sent.push_back("v\r");
        EXPECT_EQ(std::vector<std::string>(r.sent.begin() + 1, r.sent.end()), sent);
        EXPECT_EQ(Format("%d/%d", r.seq.SendCount(), r.seq.ReSendCount()), "11/20");
        EXPECT_EQ(r.Count("counts 4/19;"), 1u);
        const std::string end = "read 1/4000; rx (\x15) 0x15 ; hide Programming; show Complete; "
                                "status Waiting for Reset; arm 30013/7500; bar 100; hangup; "
                                "send 76 0D; read 50/700; status New Version : F2.1; release; ";
        EXPECT_EQ(Tail(r.log, end), end);
    }
    {
        // A record never answered goes out six times, then the upgrade fails.
        Transcript r =
            RecordRun(DeviceType::Vx5400, 10, [](int k) { return k < 6 ? kAckByte : ""; });
        r.Go();
        EXPECT_EQ(r.sent.size(), 2u + 5 + 6);
        const std::string end = "counts 6/5; read 1/4000; rx ; " + kInvalid +
                                "line 9600 8; release; bar 54; "; // 6 of 11 frames sent
        EXPECT_EQ(Tail(r.log, end), end);
    }
    for (DeviceType type : {DeviceType::Px70, DeviceType::Quenta, DeviceType::Lindqvar}) {
        // Refused at every record: twenty refusals end it.
        SCOPED_TRACE(int(type));
        Transcript r = RecordRun(type, 10, [](int) { return kNakByte; });
        r.Go();
        EXPECT_EQ(r.sent.size(), 2u + 20);
        EXPECT_EQ(r.Count("arm 30012/50"), 19u);
        const std::string end = Format("counts 1/19; read %d/4000; rx (\x15) 0x15 ; ",
                                       type == DeviceType::Px70 ? 2 : 1) +
                                kInvalid + (IsSdi12Device(type) ? "line 9600 8; " : "") +
                                "release; bar 9; ";
        EXPECT_EQ(Tail(r.log, end), end);
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

// Ended by a signal in the middle of the records: nothing more is sent or armed, and an
// SDI-12 line gets back the rate it had, as a stop gives it back; a logger's line was never
// changed. Ended again, or before any start, nothing at all.
TEST(ProgrammingSequenceTest, EndedInTheRecordsSendsNothingMore) {
    for (DeviceType type : {DeviceType::Quenta, DeviceType::Vx5400}) {
        SCOPED_TRACE(int(type));
        Transcript r = RecordRun(type, 10, [](int) { return kAckByte; });
        r.baud = 2400;
        r.Go(IDT_RECORDS);
        r.Perform(r.seq.Timer(IDT_RECORDS));
        ASSERT_GT(r.sent.size(), 2u);
        r.log.clear();
        r.Perform(r.seq.End());
        EXPECT_EQ(r.log, IsSdi12Device(type) ? "line 2400 8; " : "");
        r.log.clear();
        r.Perform(r.seq.End());
        EXPECT_EQ(r.log, "");
    }
    ProgrammingSequence idle;
    EXPECT_TRUE(idle.End().empty());
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
        Transcript r = RecordRun(row.type, 1, [](int) { return kAckByte; });
        r.Go(IDT_NEW_VERSION);
        r.replies.assign(row.replies.begin(), row.replies.end());
        r.reply = nullptr;
        r.Steps();
        EXPECT_EQ(Tail(r.Events(), row.events), row.events);
    }

    // "Send Reset" between two transmissions of a refused record: the record goes again.
    Transcript r = RecordRun(DeviceType::Vx6400, 2, [](int k) { return k == 1 ? kNakByte : ""; });
    r.Go(IDT_RECORDS);
    r.Perform(r.seq.Timer(IDT_RECORDS));
    r.log.clear();
    r.Perform(ProgrammingSequence::SendReset(DeviceType::Vx6400));
    r.Perform(ProgrammingSequence::SendReset(DeviceType::Px80)); // no echo on a logger's line
    EXPECT_EQ(r.log, "tx : 0x00 0x00 0x00 0x01 0xFF; send 3A 00 00 00 01 FF echo; "
                     "tx : 0x00 0x00 0x00 0x01 0xFF; send 3A 00 00 00 01 FF; ");
    r.Perform(r.seq.Timer(IDT_RECORDS));
    ASSERT_EQ(r.sent.size(), 2u + 4);
    EXPECT_EQ(r.sent[5], r.sent[2]);
}

} // namespace
