// The programming sequence without a window: a scripted device answers each read, and every
// effect is written down as one line of a transcript.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "framework/Text.h"
#include "tests/upgrade/HexFixtures.h"
#include "upgrade/ProgrammingSequence.h"

namespace {

using Kind = UpgradeEffect::Kind;

const char* LabelName(long label) {
    static const char* const names[] = {"Version", "Password",    "Erase",   "Copy",
                                        "Execute", "Programming", "Complete"};
    return names[label];
}

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += Format(out.empty() ? "%02X" : " %02X", c);
    return out;
}

const std::string kAckByte(1, '\x06');
const std::string kNakByte(1, '\x15');
const char kInvalid[] =
    "msg Invalid response during programming. Try clicking on 'Start Upgrade' again";

// A transcript of one upgrade. Each read takes the next scripted reply; when they run out
// `reply` answers (records by default: ACK).
struct Transcript {
    Transcript(DeviceType type, std::string image, std::string pw = "Ab3x")
        : device(type), text(std::move(image)), password(std::move(pw)) {}

    void Perform(ProgrammingSequence::Effects effects) {
        while (!effects.empty()) {
            ProgrammingSequence::Effects next;
            for (const UpgradeEffect& e : effects) {
                switch (e.kind) {
                case Kind::RestartHangup:
                    Log("hangup");
                    break;
                case Kind::GetLine:
                    Log("getline");
                    next = seq.LineRead(baud, byteSize);
                    break;
                case Kind::SetLine:
                    Log(Format("line %ld %ld", e.a, e.b));
                    baud = unsigned(e.a);
                    if (e.b == 7)
                        byteSize = 7;
                    else if (e.a != 0)
                        byteSize = 8;
                    break;
                case Kind::Send:
                    Log("send " + Hex(e.text) + (e.a ? " echo" : ""));
                    sent.push_back(e.text);
                    break;
                case Kind::Read: {
                    Log(Format("read %ld/%ld", e.a, e.b));
                    std::string r;
                    if (!replies.empty()) {
                        r = replies.front();
                        replies.pop_front();
                    } else if (reply) {
                        r = reply(int(sent.size()));
                    }
                    r.resize(std::min<std::size_t>(r.size(), std::size_t(e.a)));
                    next = seq.Reply(reinterpret_cast<const std::uint8_t*>(r.data()), r.size());
                    break;
                }
                case Kind::Ask:
                    Log("ask " + e.text);
                    next = seq.Answer(answer);
                    break;
                case Kind::Message:
                    Log("msg " + e.text);
                    break;
                case Kind::Status:
                    status = e.text;
                    Log("status " + e.text);
                    break;
                case Kind::LabelText:
                    Log(std::string("label ") + LabelName(e.a) + "=" + e.text);
                    break;
                case Kind::ShowLabel:
                    Log(std::string(e.b ? "show " : "hide ") + LabelName(e.a));
                    break;
                case Kind::TxLine:
                    Log("tx " + e.text);
                    break;
                case Kind::RxLine:
                    Log("rx " + e.text);
                    break;
                case Kind::Counts:
                    Log(Format("counts %ld/%ld", e.a, e.b));
                    break;
                case Kind::Progress:
                    Log(Format("bar %ld", e.a));
                    break;
                case Kind::Release:
                    Log("release");
                    break;
                case Kind::Arm:
                    Log(Format("arm %ld/%ld", e.a, e.b));
                    armed = unsigned(e.a);
                    break;
                }
                if (e.kind == Kind::GetLine || e.kind == Kind::Read || e.kind == Kind::Ask)
                    break;
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
    void Log(std::string line) { log.push_back(std::move(line)); }
    bool Logged(const std::string& line) const {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    // Transcript lines beginning with `prefix`.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& line : log)
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }
    // Transcript from the first line beginning with `prefix`.
    std::vector<std::string> From(const std::string& prefix) const {
        auto it = std::find_if(log.begin(), log.end(),
                               [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        return std::vector<std::string>(it, log.end());
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
    std::vector<std::string> log;
};

// Two frames as they stand in a file: a data record and the end-of-file record.
const char kSmallImage[] = ":020010001234A8\r\n:00000001FF\r\n";
const std::vector<std::string> kBegin = {
    "counts 0/0",
    "bar 0",
    "label Erase=Erasing Program Flash",
    "label Copy=---",
    "label Execute=Executing Firmware Upgrade",
    "label Programming=Programming....",
    "hide Version",
    "hide Password",
    "hide Erase",
    "hide Copy",
    "hide Execute",
    "hide Programming",
    "hide Complete",
};
const std::vector<std::string> kSmallRecords = {
    "arm 30012/100",
    "hangup",
    "tx : 0x02 0x00 0x10 0x00 0x12 0x34 0xA8",
    "rx ",
    "send 3A 02 00 10 00 12 34 A8",
    "counts 1/0",
    "read 1/4000",
    "rx (\x06) 0x06 ",
    "tx : 0x00 0x00 0x00 0x01 0xFF",
    "rx ",
    "send 3A 00 00 00 01 FF",
    "counts 2/0",
    "read 1/4000",
    "rx (\x06) 0x06 ",
    "hide Programming",
    "show Complete",
    "status Waiting for Reset",
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ProgrammingSequenceTest, LoggerRoadByteForByte) {
    Transcript r(DeviceType::Quenta, kSmallImage);
    r.replies = {"\r\n>",
                 "\rLogger V4.10 12/01/24\r\n",
                 "\rPassword Accepted\r\n",
                 "\xC5",
                 "\xD8",
                 kAckByte,
                 kAckByte,
                 "\rLogger V5.02 03/03/26\r\n"};
    r.Go();
    const std::vector<std::string> expected =
        Join(Join(kBegin,
                  {
                      "arm 30007/100",
                      "hangup",
                      "send 0D",
                      "read 50/200",
                      "send 56 45 52 0D",
                      "read 50/700",
                      "status Version Read",
                      "label Version=Previous Version : Logger V4.10 12/01/24",
                      "show Version",
                      "send 50 41 53 53 57 44 3D 41 62 33 78 0D",
                      "read 50/700",
                      "status Password Accepted",
                      "show Password",
                      "arm 30008/1000",
                      "hangup",
                      "send 1B 55 AA 55 AA 51 55 AA 55 AA",
                      "read 1/3000",
                      "status Erasing Program Flash",
                      "show Erase",
                      "arm 30010/2000",
                      "hangup",
                      "read 1/3000",
                      "status Executing Program Download",
                      "show Execute",
                      "arm 30011/1000",
                      "hangup",
                      "status Upgrading Firmware",
                      "show Programming",
                  }),
             Join(kSmallRecords, {
                                     "arm 30013/7500",
                                     "bar 100",
                                     "hangup",
                                     "send 56 45 52 0D",
                                     "read 50/700",
                                     "status New Version : Logger V5.02 03/03/26",
                                     "release",
                                 }));
    EXPECT_EQ(r.log, expected);
    EXPECT_EQ(r.seq.SendCount(), 2);
    EXPECT_EQ(r.seq.ReSendCount(), 0);
}

TEST(ProgrammingSequenceTest, Sdi12RoadByteForByte) {
    // Saved at 1200 7E1: the line goes back to it at the end.
    Transcript r(DeviceType::Lindqvar, kSmallImage);
    r.baud = 1200;
    r.byteSize = 7;
    r.replies = {"0\r\n", "000000\r\n"};
    r.Go();
    const std::vector<std::string> expected =
        Join(Join(kBegin,
                  {
                      "arm 30002/100",
                      "hangup",
                      "getline",
                      "line 1200 7",
                      "send 3F 21 0D echo",
                      "status Getting SDI-12 Address",
                      "arm 30003/500",
                      "hangup",
                      "read 15/400",
                      "status Address 0 - OK",
                      "label Copy=---",
                      "label Execute=Executing Firmware Upgrade",
                      "show Copy",
                      "show Execute",
                      "arm 30004/500",
                      "send 30 58 50 52 4F 47 4C 51 21 0D echo",
                      "status Erasing Program Flash",
                      "show Erase",
                      "arm 30005/1000",
                      "hangup",
                      "read 18/200",
                      "status Erase Done",
                      "label Copy=---",
                      "label Execute=Executing Firmware Upgrade",
                      "show Copy",
                      "show Execute",
                      "line 9600 8",
                      "arm 30011/600",
                      "hangup",
                      "status Upgrading Firmware",
                      "show Programming",
                  }),
             Join(kSmallRecords, {
                                     "arm 30013/500",
                                     "bar 100",
                                     "hangup",
                                     "status ",
                                     "line 1200 7",
                                     "release",
                                 }));
    // Records go with their echo read back.
    std::vector<std::string> log = r.log;
    for (std::string& line : log)
        if (line.rfind("send 3A", 0) == 0)
            line.resize(line.size() - 5);
    EXPECT_EQ(log, expected);
    EXPECT_EQ(r.Only("send 3A").front(), "send 3A 02 00 10 00 12 34 A8 echo");
}

TEST(ProgrammingSequenceTest, EveryDeviceTypeSendsItsOwnCommands) {
    struct Row {
        DeviceType type;
        std::vector<std::string> sent;    // before the records
        std::vector<std::string> stages;  // the stage lines of the logger road
        std::string versionReply, status; // after the records
        std::string readPerRecord;
    };
    const std::string ver = "\rLogger V5.02 03/03/26\r\n";
    const Row rows[] = {
        {DeviceType::Quenta,
         {"0D", "56 45 52 0D", "50 41 53 53 57 44 3D 41 62 33 78 0D",
          "1B 55 AA 55 AA 51 55 AA 55 AA"},
         {"arm 30010/2000", "arm 30011/1000"},
         ver,
         "New Version : Logger V5.02 03/03/26",
         "read 1/4000"},
        {DeviceType::Px70,
         {"0D", "56 45 52 0D", "50 41 53 53 57 44 3D 41 62 33 78 0D",
          "1B 55 AA 55 AA 50 55 AA 55 AA"},
         {"arm 30009/2000", "arm 30010/1000", "arm 30011/1000"},
         ver,
         "New Version : Logger V5.02 03/03/26",
         "read 2/4000"},
        {DeviceType::Px80,
         {"0D", "56 45 52 0D", "50 41 53 53 57 44 3D 41 62 33 78 0D",
          "1B 55 AA 55 AA 51 55 AA 55 AA"},
         {"arm 30010/2000", "arm 30011/1000"},
         ver,
         "New Version : Logger V5.02 03/03/26",
         "read 1/4000"},
        // No password; 6 to 8 bytes are a version too.
        {DeviceType::Ferrant,
         {"1B 66 AA 55 AA 46 55 AA 55 AA"},
         {"arm 30010/2000", "arm 30011/1000"},
         "\rF2.1\r\n",
         "New Version : F2.1",
         "read 1/4000"},
        {DeviceType::Vx5400,
         {"3F 21 0D 0A echo", "30 58 50 52 4F 47 21 0D echo"},
         {},
         "",
         "",
         "read 1/4000"},
        {DeviceType::Vx6400,
         {"3F 21 0D 0A echo", "0D 30 58 50 52 4F 47 21 echo"},
         {},
         "",
         "",
         "read 1/4000"},
        {DeviceType::Lindqvar,
         {"3F 21 0D echo", "30 58 50 52 4F 47 4C 51 21 0D echo"},
         {},
         "",
         "",
         "read 1/4000"},
        {DeviceType::LindqvarPlus,
         {"3F 21 0D echo", "30 58 50 52 4F 47 4C 50 21 0D echo"},
         {},
         "",
         "",
         "read 1/4000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.type));
        // 120 records: three ticks of the record loop.
        const std::string image = FirmwareFile(120);
        Transcript r(row.type, image);
        if (IsSdi12Device(row.type)) {
            r.replies = {"0\r\n", "000000\r\n"};
        } else {
            if (row.type != DeviceType::Ferrant)
                r.replies = {"\r\n>", "\rLogger V4.10 12/01/24\r\n", "\rPassword Accepted\r\n"};
            r.replies.push_back("\xC5");
            if (row.type == DeviceType::Px70)
                r.replies.push_back("\xC3");
            r.replies.push_back("\xD8");
        }
        const std::size_t before = r.replies.size();
        r.Go(IDT_START_RECORDS);
        ASSERT_EQ(r.replies.size(), 0u) << before;
        std::vector<std::string> sent;
        for (const std::string& line : r.Only("send "))
            sent.push_back(line.substr(5));
        EXPECT_EQ(sent, row.sent);
        std::vector<std::string> arms = r.Only("arm ");
        if (!row.stages.empty()) {
            EXPECT_EQ(std::vector<std::string>(arms.end() - long(row.stages.size()), arms.end()),
                      row.stages);
        }
        EXPECT_EQ(r.Logged("status Erasing Data Flash"), row.type == DeviceType::Px70);
        EXPECT_EQ(r.Logged("status Copying Program to Data Flash"), row.type == DeviceType::Px70);

        r.log.clear();
        r.sent.clear();
        r.reply = [&](int sends) {
            return sends <= r.frameCount ? kAckByte + "\r" : row.versionReply;
        };
        r.Steps();
        ASSERT_EQ(r.sent.size(), IsSdi12Device(row.type) ? 121u : 122u);
        std::vector<std::string> frames;
        for (std::size_t k = 0; k < 121; ++k)
            frames.push_back(r.sent[k].substr(1));
        EXPECT_EQ(frames, BinaryRecords(120));
        // 50 records a tick, then 50 ms to the next.
        EXPECT_EQ(r.Only("arm 30012"),
                  (std::vector<std::string>{"arm 30012/100", "arm 30012/50", "arm 30012/50"}));
        EXPECT_EQ(r.Only(row.readPerRecord).size(), 121u);
        EXPECT_EQ(r.Only("bar "), (std::vector<std::string>{"bar 41", "bar 82", "bar 100"}));
        EXPECT_TRUE(r.Logged(row.type == DeviceType::Px70 ? "rx (\x06) 0x06 (\r) 0x0D "
                                                          : "rx (\x06) 0x06 "));
        EXPECT_EQ(r.seq.SendCount(), 121);
        EXPECT_EQ(r.log.back(), "release");
        EXPECT_EQ(r.status, row.status);
        if (IsSdi12Device(row.type)) {
            EXPECT_TRUE(r.Logged("arm 30013/500"));
            EXPECT_EQ(r.Only("line "), (std::vector<std::string>{"line 9600 8"}));
        } else {
            EXPECT_TRUE(r.Logged("arm 30013/7500"));
            EXPECT_EQ(r.sent.back(), row.type == DeviceType::Ferrant ? "v\r" : "VER\r");
        }
    }
}

} // namespace
