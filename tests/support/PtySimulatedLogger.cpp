#include "tests/support/PtySimulatedLogger.h"

#include <termios.h>
#include <time.h>

#include <algorithm>

#include "shell/CommPort.h"

namespace {

constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
// Its password and firmware versions, before and after the upgrade.
constexpr char kPassword[] = "Ab3x";
constexpr char kOldVersion[] = "Logger V4.10 12/01/24";
constexpr char kNewVersion[] = "Logger V5.02 03/03/26";
constexpr char kFerrantNewVersion[] = "F2.1";

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += char(v);
    return out;
}

} // namespace

SimulatedLogger::SimulatedLogger(PtyPeer& peer, Kind kind) : m_peer(peer), m_kind(kind) {}

SimulatedLogger::~SimulatedLogger() {
    CCommPort::SetReadHook(nullptr);
}

void SimulatedLogger::Attach() {
    CCommPort::SetReadHook([this](unsigned long long written) { OnRead(written); });
}

bool SimulatedLogger::IsSdi12() const {
    return m_kind == Kind::Vx5400 || m_kind == Kind::Vx6400 || m_kind == Kind::Lindqvar ||
           m_kind == Kind::LindqvarPlus;
}

unsigned SimulatedLogger::LineSpeed() const {
    termios t;
    if (tcgetattr(m_peer.SlaveFd(), &t) != 0)
        return 0;
    switch (cfgetospeed(&t)) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    default:
        return 1;
    }
}

void SimulatedLogger::OnRead(unsigned long long written) {
    Take(written);
    bool processed = false;
    while (ProcessOne())
        processed = true;
    // A stage answer comes on its own, while the program waits for it.
    if (!processed && !m_stageReplies.empty()) {
        m_out += m_stageReplies.front();
        m_stageReplies.erase(m_stageReplies.begin());
    }
    if (!m_out.empty())
        m_peer.Send(m_out);
    m_out.clear();
}

void SimulatedLogger::Take(unsigned long long written) {
    if (written <= m_taken)
        return;
    const std::string chunk = m_peer.Take(std::size_t(written - m_taken));
    m_taken = written;
    m_in += chunk;
    // An SDI-12 line gives back every byte sent on it.
    if (IsSdi12())
        m_out += chunk;
}

bool SimulatedLogger::ProcessOne() {
    if (m_in.empty())
        return false;
    if (m_phase == Phase::Commands && m_in[0] == ':')
        m_phase = Phase::Records;
    if (m_phase == Phase::Records) {
        if (m_in[0] != ':') {
            ADD_FAILURE() << "a frame without its ':': " << PtyPeer::Printable(m_in);
            m_in.clear();
            return false;
        }
        if (m_in.size() < 2)
            return false;
        const std::size_t total =
            m_record.empty() ? std::size_t(static_cast<unsigned char>(m_in[1])) + 5 : m_recordTotal;
        const std::size_t piece = 1 + std::min<std::size_t>(22, total - m_record.size());
        if (m_in.size() < piece)
            return false;
        if (m_record.empty())
            m_recordTotal = total;
        const std::string frame = m_in.substr(0, piece);
        m_in.erase(0, piece);
        Frame(frame);
        return true;
    }

    std::size_t length = 0;
    if (IsSdi12()) {
        const bool vx = m_kind == Kind::Vx5400 || m_kind == Kind::Vx6400;
        length = commands.empty() ? (vx ? 4 : 3) : (vx ? 8 : 10);
    } else if (static_cast<unsigned char>(m_in[0]) == 0x1B) {
        length = 10;
    } else {
        const std::size_t cr = m_in.find('\r');
        length = cr == std::string::npos ? 0 : cr + 1;
    }
    if (length == 0 || m_in.size() < length)
        return false;
    const std::string command = m_in.substr(0, length);
    m_in.erase(0, length);
    Command(command);
    return true;
}

void SimulatedLogger::Command(const std::string& bytes) {
    commands.push_back(bytes);
    commandBauds.push_back(LineSpeed());
    if (m_phase == Phase::Done) {
        if (bytes == "VER\r" || bytes == "v\r")
            Reply(std::string("\r") + (m_kind == Kind::Ferrant ? kFerrantNewVersion : kNewVersion) +
                  "\r\n");
        return;
    }

    if (IsSdi12()) {
        if (commands.size() == 1) {
            const std::string expected =
                m_kind == Kind::Vx5400 || m_kind == Kind::Vx6400 ? "?!\r\n" : "?!\r";
            EXPECT_EQ(PtyPeer::Printable(bytes), PtyPeer::Printable(expected));
            if (!silentAddress)
                Reply("0\r\n");
            return;
        }
        const char* expected = m_kind == Kind::Vx6400         ? "\r0XPROG!"
                               : m_kind == Kind::Lindqvar     ? "0XPROGLQ!\r"
                               : m_kind == Kind::LindqvarPlus ? "0XPROGLP!\r"
                                                              : "0XPROG!\r";
        EXPECT_EQ(PtyPeer::Printable(bytes), PtyPeer::Printable(expected));
        Reply("000000\r\n"); // erase done
        return;
    }

    if (bytes == "\r") {
        Reply("\r\n>");
    } else if (bytes == "VER\r") {
        Reply(std::string("\r") + kOldVersion + "\r\n");
    } else if (bytes.rfind("PASSWD=", 0) == 0) {
        Reply(bytes == std::string("PASSWD=") + kPassword + "\r" ? "\rPassword Accepted\r\n"
                                                                 : "\rIncorrect Password\r\n");
    } else if (static_cast<unsigned char>(bytes[0]) == 0x1B) {
        const int type = m_kind == Kind::Px70 ? 0x50 : m_kind == Kind::Ferrant ? 0x46 : 0x51;
        const int second = m_kind == Kind::Ferrant ? 0x66 : 0x55;
        EXPECT_EQ(PtyPeer::Printable(bytes),
                  PtyPeer::Printable(
                      Bytes({0x1B, second, 0xAA, 0x55, 0xAA, type, 0x55, 0xAA, 0x55, 0xAA})));
        Reply(Bytes({0xC5}));
        if (m_kind == Kind::Px70)
            m_stageReplies.push_back(Bytes({0xC3}));
        m_stageReplies.push_back(Bytes({0xD8}));
    } else {
        ADD_FAILURE() << "unknown command " << PtyPeer::Printable(bytes);
    }
}

void SimulatedLogger::Frame(const std::string& bytes) {
    if (transmissions++ == 0)
        recordBaud = LineSpeed();
    const std::string done = m_kind == Kind::Px70 ? std::string("\r") : std::string();
    int& naks = nakFrame[m_frameIndex];
    if (naks > 0) {
        --naks;
        Reply(std::string(1, kNak) + done);
        return;
    }
    m_record += bytes.substr(1);
    ++m_frameIndex;
    if (m_record.size() >= m_recordTotal) {
        records.push_back(m_record);
        if (m_record.size() >= 4 && m_record[3] == 0x01)
            m_phase = Phase::Done;
        m_record.clear();
        m_recordTotal = 0;
    }
    Reply(std::string(1, kAck) + done);
}
