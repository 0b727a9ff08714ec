// What the user is told when a file, a folder, a port or a firmware file fails: the path or the
// port, and the reason as the failing call or the file itself gives it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iomanip>
#include <sys/stat.h>
#include <unistd.h>

#include "communicate/DataFolder.h"
#include "framework/FileFilter.h"
#include "framework/FileWarning.h"
#include "framework/SerialDevice.h"
#include "tests/support/PtyPeer.h"
#include "tests/support/TestEnv.h"
#include "tests/upgrade/HexFixtures.h"
#include "upgrade/IntelHex.h"

namespace {

std::string ProbeText(int n) {
    const std::string path = ComDevicePath(n);
    PortHolder holder;
    return PortProbeText(path.c_str(), ProbePort(path.c_str(), &holder), holder);
}

std::string HexFault(const std::string& file, bool px70 = false) {
    std::vector<HexFrame> frames;
    HexCheck check;
    EXPECT_FALSE(ConvertHexFile(file.data(), file.size(), px70, &frames, &check));
    return HexFaultText(check);
}

TEST(MessagesTest, EachNamesWhatFailedAndWhy) {
    TestEnv env;
    TempPortsFolder ports; // also the one lock folder
    PtyPeer flocked;
    PtyPeer lockFiled;
    ASSERT_TRUE(flocked.IsOk() && lockFiled.IsOk());
    ASSERT_TRUE(flocked.LinkAs(ports.Path(), 1));
    ASSERT_TRUE(lockFiled.LinkAs(ports.Path(), 2));

    // A folder that refuses a new entry: mkdir's own reason, not the later stat's ENOENT.
    // Root may write anywhere, but not into /sys.
    std::string parent = env.Root() + "/read-only";
    mkdir(parent.c_str(), 0555);
    if (geteuid() == 0)
        parent = "/sys";
    const std::string folder = parent + "/TrelvoranFiles";
    const int refused = mkdir(folder.c_str(), 0755) == 0 ? 0 : errno;
    const bool folderRefused = refused != 0 && refused != ENOENT;
    if (refused == 0)
        rmdir(folder.c_str());

    const std::string good = HexLine(0x10, 0, DataBytes(16, 5));
    const std::string eof = HexLine(0, 1, {});
    std::string badSum = good;
    badSum.back() = badSum.back() == '0' ? '1' : '0';

    const struct {
        const char* what;
        std::function<std::string()> told;
        std::string expected;
    } cases[] = {
        {"data folder",
         !folderRefused ? std::function<std::string()>() : [&] {
             int error = 0;
             EXPECT_FALSE(PrepareDataFolder(folder, &error));
             return FileFailureText("Could not create the data folder", folder, error);
         },
         "Could not create the data folder " + folder + ".\n" + std::strerror(refused)},
        {"port held by flock",
         [&] {
             flocked.Hold();
             const std::string text = ProbeText(1);
             flocked.Release();
             return text;
         },
         InUseText(1, flocked, getpid())},
        {"port held by a lock file",
         [&] {
             std::ofstream(ports.Path() + "/" + LockFileName(lockFiled.SlavePath()))
                 << std::setw(10) << getppid() << "\n";
             return ProbeText(2);
         },
         InUseText(2, lockFiled, getppid())},
        {"port gone", [] { return ProbeText(3); }, "COM3 is gone: no such device."},
        {"not a record", [&] { return HexFault(good + "\r\n\r\nhello\r\n" + eof); },
         "line 3 is not a record"},
        {"count and length differ",
         [&] { return HexFault(good + "\n:10001000" + good.substr(9, 20) + "\n" + eof); },
         "line 2 is not a record"},
        {"checksum", [&] { return HexFault(good + "\n" + good + "\n" + badSum + "\n" + eof); },
         "bad checksum on line 3"},
        {"record type", [&] { return HexFault(good + "\r" + HexLine(0, 6, {}) + "\r" + eof); },
         "unknown record type on line 2"},
        {"no end record", [&] { return HexFault(good + "\r\n" + good + "\r\n"); },
         "no end record"},
        {"data past the PX70's last record",
         [&] { return HexFault(HexLine(0, 4, {0, 0}) + "\n" + good + "\n" + eof, true); },
         "line 2 is data past the record the PX70 ends at"},
        {"file dialog filter",
         [] {
             std::string joined;
             for (const std::string& entry :
                  FileFilterEntries("Raw Capture Files (*.txt)|*.txt|Text|*.txt;*.log|All "
                                    "Files (*.*)|*.*||Never|*.x"))
                 joined += entry + ";;";
             return joined;
         },
         "Raw Capture Files (*.txt);;Text (*.txt *.log);;All Files (*);;"},
    };
    for (const auto& c : cases) {
        if (c.told == nullptr) // this machine lets the folder be made
            continue;
        EXPECT_EQ(c.told(), c.expected) << c.what;
    }
}

} // namespace
