#include "framework/SerialDevice.h"
#include "tests/support/PtyPeer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Resolve(const std::string& path) {
    return ResolveDevicePath(path.c_str());
}

TEST(SerialDeviceTest, PortsFolderLinksAloneCountWhenFolderIsSet) {
    TempPortsFolder ports;
    const std::string dir = ports.Path();
    ASSERT_EQ(symlink("/dev/null", (dir + "/COM5").c_str()), 0);
    ASSERT_EQ(symlink("/dev/serial/by-id/unplugged", (dir + "/COM90").c_str()), 0);

    EXPECT_EQ(Resolve(ComDevicePath(5)), dir + "/COM5");
    EXPECT_EQ(Resolve("COM5"), dir + "/COM5");
    EXPECT_EQ(Resolve("\\\\.\\com5"), dir + "/COM5");
    // An unplugged adapter keeps its number rather than falling back to another device.
    EXPECT_EQ(Resolve(ComDevicePath(90)), dir + "/COM90");
    // The machine's own ports are shut out.
    EXPECT_EQ(Resolve(ComDevicePath(1)), "");
    EXPECT_EQ(Resolve(ComDevicePath(17)), "");
}

// Sets or clears an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_had)
            setenv(m_name, m_old.c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

TEST(SerialDeviceTest, FixedTableAndHomeLinksWithoutPortsVariable) {
    TempPortsFolder scratch; // a scratch home folder
    const std::string home = scratch.Path();
    ScopedEnv noPorts("TRELVORAN_PORTS", nullptr);
    ScopedEnv homeEnv("HOME", home.c_str());
    const std::string dir = home + "/.config/trelvoran/ports";
    ASSERT_EQ(mkdir((home + "/.config").c_str(), 0700), 0);
    ASSERT_EQ(mkdir((home + "/.config/trelvoran").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    ASSERT_EQ(symlink("/dev/ttyUSB3", (dir + "/COM3").c_str()), 0);
    ASSERT_EQ(symlink("/dev/ttyUSB4", (dir + "/COM85").c_str()), 0);

    EXPECT_EQ(PortsFolder(), dir);
    EXPECT_EQ(Resolve(ComDevicePath(1)), "/dev/ttyS0");
    EXPECT_EQ(Resolve(ComDevicePath(3)), dir + "/COM3"); // a link wins over the table
    EXPECT_EQ(Resolve(ComDevicePath(16)), "/dev/ttyS15");
    EXPECT_EQ(Resolve(ComDevicePath(17)), "/dev/ttyUSB0");
    EXPECT_EQ(Resolve(ComDevicePath(48)), "/dev/ttyUSB31");
    EXPECT_EQ(Resolve(ComDevicePath(49)), "/dev/ttyACM0");
    EXPECT_EQ(Resolve(ComDevicePath(80)), "/dev/ttyACM31");
    EXPECT_EQ(Resolve(ComDevicePath(81)), "");
    EXPECT_EQ(Resolve(ComDevicePath(85)), dir + "/COM85");
    EXPECT_EQ(Resolve(ComDevicePath(99)), "");

    unlink((dir + "/COM3").c_str());
    unlink((dir + "/COM85").c_str());
    rmdir(dir.c_str());
    rmdir((home + "/.config/trelvoran").c_str());
    rmdir((home + "/.config").c_str());
}

TEST(SerialDeviceTest, OtherPathsAndMalformedPortNames) {
    TempPortsFolder ports;
    EXPECT_EQ(Resolve("/dev/ttyUSB3"), "/dev/ttyUSB3");
    EXPECT_EQ(Resolve("COM100"), "COM100"); // not a port name: a file name like any other
    for (const char* bad : {"\\\\.\\COM0", "\\\\.\\COM100", "\\\\.\\COM05", "\\\\.\\COM",
                            "\\\\.\\COM1x", "\\\\.\\PIPE"})
        EXPECT_EQ(Resolve(bad), "") << bad;
    EXPECT_EQ(ResolveDevicePath(nullptr), "");
    EXPECT_EQ(ResolveDevicePath(""), "");

    EXPECT_EQ(ComDevicePath(12), "\\\\.\\COM12");
    for (int n = 1; n <= 99; ++n)
        EXPECT_EQ(ComPortNumber(ComDevicePath(n).c_str()), n);
}

} // namespace
