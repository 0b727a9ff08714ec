#include "shell/CommPort.h"
#include "framework/SerialDevice.h"
#include "tests/support/PtyPeer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

int OpenFdCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr)
            ++count;
        closedir(dir);
    }
    return count;
}

class Stopwatch {
public:
    long long Ms() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// A busy machine can make any wait longer, so these tests bound waits only from below. Where a
// wait must end early, the total is a minute: a read that waited it out fails the hang bound.
constexpr DWORD kMinute = 60000;
constexpr long long kHangMs = 20000;

std::string AllByteValues() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes;
}

bool SlaveIsExclusive(const PtyPeer& peer) {
    int exclusive = 0;
    ioctl(peer.SlaveFd(), TIOCGEXCL, &exclusive);
    return exclusive != 0;
}

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(peer.IsOk()); }
    void TearDown() override { CCommPort::SetRealWaits(true); }

    bool OpenAsCom(CCommPort& p, int n = 3) {
        if (!peer.LinkAs(ports.Path(), n))
            return false;
        return p.Open(ComDevicePath(n).c_str());
    }

    std::string ReadString(DWORD count) {
        std::string out(count, '\0');
        const DWORD n = port.Read(reinterpret_cast<BYTE*>(&out[0]), count);
        out.resize(n);
        return out;
    }

    DWORD WriteString(const std::string& s) {
        return port.Write(reinterpret_cast<const BYTE*>(s.data()), DWORD(s.size()));
    }

    TempPortsFolder ports;
    PtyPeer peer;
    CCommPort port;
};

// --- Open and Close -------------------------------------------------------------------------

TEST_F(CommPortTest, HeldPortFailsToOpenAndLeavesNothingOpen) {
    peer.Hold();
    const int fdsBefore = OpenFdCount();
    EXPECT_FALSE(OpenAsCom(port, 4));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(OpenFdCount(), fdsBefore);
    EXPECT_NE(port.GetOpenError().find("COM4"), std::string::npos) << port.GetOpenError();
    EXPECT_NE(port.GetOpenError().find("in use"), std::string::npos) << port.GetOpenError();
    BYTE b[4];
    EXPECT_EQ(port.Read(b, sizeof b), 0u);
    EXPECT_EQ(port.Write(b, sizeof b), 0u);

    peer.Release();
    EXPECT_TRUE(port.Open(ComDevicePath(4).c_str())) << port.GetOpenError();
    EXPECT_TRUE(port.GetOpenError().empty());
}

// Another process's UUCP lock file keeps the port from us; while we hold a
// port our own lock file names us, and it goes when we let the port go.
TEST_F(CommPortTest, UucpLockFilesAreHonouredAndKept) {
    ASSERT_TRUE(peer.LinkAs(ports.Path(), 5));
    const std::string lock = ports.Path() + "/" + LockFileName(peer.SlavePath());
    std::FILE* f = std::fopen(lock.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%10d\n", int(getppid()));
    std::fclose(f);
    EXPECT_FALSE(port.Open(ComDevicePath(5).c_str()));
    EXPECT_NE(port.GetOpenError().find("in use"), std::string::npos) << port.GetOpenError();
    EXPECT_EQ(ProbePort(ComDevicePath(5).c_str()), PortProbe::InUse);

    ASSERT_EQ(unlink(lock.c_str()), 0);
    EXPECT_EQ(ProbePort(ComDevicePath(5).c_str()), PortProbe::Available);
    ASSERT_TRUE(port.Open(ComDevicePath(5).c_str())) << port.GetOpenError();
    char text[16] = {};
    f = std::fopen(lock.c_str(), "r");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fread(text, 1, sizeof text - 1, f), 11u);
    std::fclose(f);
    EXPECT_EQ(std::atoi(text), int(getpid()));
    EXPECT_EQ(ProbePort(ComDevicePath(5).c_str()), PortProbe::InUse);
    port.Close();
    EXPECT_NE(access(lock.c_str(), F_OK), 0);
    EXPECT_EQ(ProbePort(ComDevicePath(99).c_str()), PortProbe::Missing);
}

TEST_F(CommPortTest, SecondOpenInSameProcessFailsAndFirstKeepsWorking) {
    ASSERT_TRUE(OpenAsCom(port));
    CCommPort second;
    EXPECT_FALSE(second.Open(ComDevicePath(3).c_str()));
    EXPECT_FALSE(second.Open(peer.SlavePath().c_str()));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(SlaveIsExclusive(peer)) << "the failed open released the first one's hold";

    EXPECT_EQ(WriteString("ST\r"), 3u);
    EXPECT_TRUE(peer.Expect("ST\r"));
}

TEST_F(CommPortTest, MissingOrNonTerminalDevicesFailWithoutLeaking) {
    const int fdsBefore = OpenFdCount();

    EXPECT_FALSE(port.Open(ComDevicePath(9).c_str())); // no link, and no table under a folder
    EXPECT_NE(port.GetOpenError().find("COM9"), std::string::npos);

    const std::string file = ports.Path() + "/plain-file";
    std::FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_FALSE(port.Open(file.c_str()));
    EXPECT_NE(port.GetOpenError().find("not a serial device"), std::string::npos);

    ASSERT_EQ(symlink("/dev/ttyUSB-gone", (ports.Path() + "/COM12").c_str()), 0);
    EXPECT_FALSE(port.Open(ComDevicePath(12).c_str()));
    EXPECT_NE(port.GetOpenError().find("no such device"), std::string::npos);

    EXPECT_FALSE(port.Open(nullptr));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(OpenFdCount(), fdsBefore);
}

TEST_F(CommPortTest, ExclusiveWhileOpenAndReleasedOnClose) {
    ASSERT_TRUE(OpenAsCom(port));
    EXPECT_TRUE(SlaveIsExclusive(peer));

    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    // Left exclusive, the tty would refuse the next open of anyone but root.
    EXPECT_FALSE(SlaveIsExclusive(peer));
    BYTE b[100];
    EXPECT_EQ(port.Read(b, sizeof b), 0u);
    EXPECT_EQ(port.Write(b, 1), 0u);
    EXPECT_EQ(port.GetBaudRate(), 0u);

    // A failed reopen closes the port first and frees it too.
    ASSERT_TRUE(port.Open(ComDevicePath(3).c_str())) << port.GetOpenError();
    EXPECT_FALSE(port.Open(ComDevicePath(9).c_str()));
    EXPECT_FALSE(port.IsOpen());
    CCommPort other;
    EXPECT_TRUE(other.Open(peer.SlavePath().c_str())) << other.GetOpenError();
}

TEST_F(CommPortTest, PermissionDeniedNamesTheDialoutGroup) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root opens the device whatever its mode";
    ASSERT_EQ(chmod(peer.SlavePath().c_str(), 0), 0);
    EXPECT_FALSE(port.Open(peer.SlavePath().c_str()));
    EXPECT_NE(port.GetOpenError().find("dialout"), std::string::npos) << port.GetOpenError();
}

// --- Raw line -------------------------------------------------------------------------------

// Let go, the port gets back the settings it had when opened (another port chosen, Exit, a
// signal); while open it has HUPCL, so a close or a kill drops DTR.
TEST_F(CommPortTest, SettingsComeBackWhenThePortIsLetGo) {
    peer.MakeSlaveCooked();
    termios before{};
    ASSERT_EQ(tcgetattr(peer.SlaveFd(), &before), 0);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(round == 0 ? OpenAsCom(port) : port.Open(ComDevicePath(3).c_str()));
        port.SetBaudRate(1200);
        termios open{};
        ASSERT_EQ(tcgetattr(peer.SlaveFd(), &open), 0);
        EXPECT_TRUE(open.c_cflag & HUPCL);
        EXPECT_FALSE(open.c_lflag & ICANON);
        port.Close();
        termios after{};
        ASSERT_EQ(tcgetattr(peer.SlaveFd(), &after), 0);
        EXPECT_EQ(after.c_iflag, before.c_iflag);
        EXPECT_EQ(after.c_oflag, before.c_oflag);
        EXPECT_EQ(after.c_lflag, before.c_lflag);
        EXPECT_EQ(after.c_cflag, before.c_cflag);
        EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
        EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
    }
}

TEST_F(CommPortTest, LineIsRawBothWaysFromOpen) {
    peer.MakeSlaveCooked();
    ASSERT_TRUE(OpenAsCom(port));
    port.SetTimeouts(500);
    const std::string all = AllByteValues();

    ASSERT_EQ(WriteString(all), 256u);
    EXPECT_TRUE(peer.Expect(all));

    ASSERT_TRUE(peer.Send(all));
    std::string got;
    for (int i = 0; i < 10 && got.size() < all.size(); ++i) {
        const std::string part = ReadString(DWORD(all.size() - got.size()));
        if (part.empty())
            break;
        got += part;
    }
    EXPECT_EQ(PtyPeer::Printable(got), PtyPeer::Printable(all));
    EXPECT_EQ(PtyPeer::Printable(peer.ReadAvailable(50)), "") << "echoed to the logger";

    // The XOFF among those bytes must not have stopped our output.
    EXPECT_EQ(WriteString("\x13\x11\r\n"), 4u);
    EXPECT_TRUE(peer.Expect("\x13\x11\r\n"));
}

// --- Settings -------------------------------------------------------------------------------

TEST_F(CommPortTest, Sdi12FramingBackTo8N1AndUnknownRates) {
    termios t;
    ASSERT_EQ(tcgetattr(peer.SlaveFd(), &t), 0);
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    ASSERT_EQ(tcsetattr(peer.SlaveFd(), TCSANOW, &t), 0);
    ASSERT_TRUE(OpenAsCom(port));
    EXPECT_EQ(port.GetBaudRate(), 4800u); // Open keeps the driver's settings

    port.SetBaudRate(1200);
    port.SetEvenParity();
    port.SetSevenBits();
    EXPECT_EQ(port.GetBaudRate(), 1200u);
    EXPECT_EQ(port.GetByteSize(), 7);
    EXPECT_TRUE(port.IsParityEven());
    ASSERT_EQ(tcgetattr(peer.SlaveFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B1200));
    EXPECT_EQ(t.c_lflag & ECHO, 0u) << "settings undid the raw line";

    port.SetBaudRate(9600);
    EXPECT_EQ(port.GetBaudRate(), 9600u);
    EXPECT_EQ(port.GetByteSize(), 8);
    EXPECT_FALSE(port.IsParityEven());
    ASSERT_EQ(tcgetattr(peer.SlaveFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));

    port.SetSevenBits();
    port.SetBaudRate(0); // B0 would drop DTR and hang up a modem
    port.SetBaudRate(12345);
    EXPECT_EQ(port.GetBaudRate(), 9600u);
    EXPECT_EQ(port.GetByteSize(), 7);
    ASSERT_EQ(tcgetattr(peer.SlaveFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
}

TEST_F(CommPortTest, EverySettingsStepDiscardsUnreadInput) {
    ASSERT_TRUE(OpenAsCom(port));
    port.SetTimeouts(20);
    const std::pair<const char*, void (*)(CCommPort&)> steps[] = {
        {"GetBaudRate", [](CCommPort& p) { p.GetBaudRate(); }},
        {"GetByteSize", [](CCommPort& p) { p.GetByteSize(); }},
        {"SetBaudRate", [](CCommPort& p) { p.SetBaudRate(9600); }},
        {"SetEvenParity", [](CCommPort& p) { p.SetEvenParity(); }},
        {"SetSevenBits", [](CCommPort& p) { p.SetSevenBits(); }},
        {"Purge", [](CCommPort& p) { p.Purge(); }},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(peer.Send("stale\r\n"));
        step.second(port);
        EXPECT_EQ(ReadString(100), "") << step.first;
    }
    ASSERT_TRUE(peer.Send("fresh"));
    EXPECT_EQ(ReadString(100), "fresh");
}

// --- Time-outs, measured ----------------------------------------------------------------

TEST_F(CommPortTest, SilentLineReadReturnsAfterTotalTimeout) {
    ASSERT_TRUE(OpenAsCom(port));
    BYTE buf[100];
    EXPECT_EQ(port.Read(buf, sizeof buf), 0u) << "a read before SetTimeouts takes what is queued";

    port.SetTimeouts(100);
    Stopwatch sw;
    EXPECT_EQ(port.Read(buf, sizeof buf), 0u);
    EXPECT_GE(sw.Ms(), 90);
}

TEST_F(CommPortTest, BurstReturns50msAfterItsLastByteOrAtFullCount) {
    ASSERT_TRUE(OpenAsCom(port));
    port.SetTimeouts(kMinute);
    ASSERT_TRUE(peer.Send("0123456789"));
    Stopwatch sw;
    EXPECT_EQ(ReadString(100), "0123456789");
    EXPECT_GE(sw.Ms(), 40) << "the gap after the last byte is waited for";

    // A full count returns without waiting for the total.
    ASSERT_TRUE(peer.Send("0123456789"));
    EXPECT_EQ(ReadString(4), "0123");
    EXPECT_EQ(ReadString(6), "456789");
    EXPECT_LT(sw.Ms(), kHangMs);
}

TEST_F(CommPortTest, HungUpLineReadsAsSilenceAtOnce) {
    ASSERT_TRUE(OpenAsCom(port));
    port.SetTimeouts(20);
    EXPECT_EQ(ReadString(1), "");
    EXPECT_FALSE(port.IsHungUp()) << "silence is not a hang-up";
    port.SetTimeouts(kMinute);
    peer.HangUp();
    Stopwatch sw;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadString(100), "");
        EXPECT_EQ(WriteString("ST\r"), 0u);
    }
    EXPECT_LT(sw.Ms(), kHangMs);
    EXPECT_TRUE(port.IsHungUp());
    port.Close();
    EXPECT_FALSE(port.IsHungUp());
}

TEST_F(CommPortTest, StuckWriteGivesUpAfter100msPerByte) {
    ASSERT_TRUE(OpenAsCom(port));
    // Fill the line until the driver takes no more.
    CCommPort::SetRealWaits(false);
    const std::string block(4096, 'x');
    int blocks = 0;
    while (WriteString(block) == block.size() && blocks < 1000)
        ++blocks;
    ASSERT_LT(blocks, 1000) << "the line never filled up";
    // The kernel may still be moving bytes on to the peer; top up until a byte waits in vain.
    CCommPort::SetRealWaits(true);
    int topUps = 0;
    while (WriteString(block.substr(0, 1)) == 1 && topUps < 100) {
        CCommPort::SetRealWaits(false);
        while (WriteString(block) == block.size() && blocks < 1000)
            ++blocks;
        CCommPort::SetRealWaits(true);
        ++topUps;
    }
    ASSERT_LT(topUps, 100) << "the line never filled up";

    Stopwatch sw;
    EXPECT_EQ(WriteString("AB"), 0u);
    EXPECT_GE(sw.Ms(), 180);

    peer.Drain();
    EXPECT_EQ(WriteString("ok"), 2u);
    EXPECT_TRUE(peer.Expect("ok"));
    EXPECT_FALSE(port.IsHungUp()) << "a full line is not a lost one";
}

// --- Without real waits -------------------------------------------------------------------

TEST_F(CommPortTest, WithoutRealWaitsReadTakesOnlyWhatIsQueued) {
    ASSERT_TRUE(OpenAsCom(port));
    port.SetTimeouts(kMinute);
    CCommPort::SetRealWaits(false);
    Stopwatch sw;
    EXPECT_EQ(ReadString(100), "");
    ASSERT_TRUE(peer.Send("0123456789"));
    EXPECT_EQ(ReadString(4), "0123");
    EXPECT_EQ(ReadString(100), "456789");
    EXPECT_EQ(WriteString("DUR\r"), 4u);
    EXPECT_LT(sw.Ms(), kHangMs);
    EXPECT_TRUE(peer.Expect("DUR\r"));
}

} // namespace
