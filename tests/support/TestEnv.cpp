#include "tests/support/TestEnv.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "framework/SerialDevice.h"
#include "shell/CommPort.h"

void TestEnv::PrepareProcess() {
    setenv("TZ", "UTC", 1);
    tzset();
}

LocalTime Wall(int y, int mo, int d, int h, int mi, int s) {
    LocalTime t;
    t.year = y;
    t.month = mo;
    t.day = d;
    t.hour = h;
    t.minute = mi;
    t.second = s;
    return t;
}

LocalTime TestEnv::DefaultStart() {
    return Wall(2026, 3, 14, 9, 30, 0);
}

TestEnv::TestEnv() {
    char pattern[] = "/tmp/trelvoran-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    m_root = made ? made : "/tmp";
    m_appData = m_root + "/appdata";
    m_ports = m_root + "/ports";
    std::filesystem::create_directories(m_appData);
    std::filesystem::create_directories(m_ports);
    std::filesystem::create_directories(m_root + "/home");
    std::filesystem::create_directories(Locks());
    m_previousLockFolders = LockFolders();
    SetLockFolders({Locks()});
    setenv("HOME", (m_root + "/home").c_str(), 1);
    setenv("APPDATA", m_appData.c_str(), 1);
    setenv("TRELVORAN_PORTS", m_ports.c_str(), 1);
    Clock::UseVirtual(DefaultStart());
    CCommPort::SetRealWaits(false);
}

TestEnv::~TestEnv() {
    SetLockFolders(m_previousLockFolders);
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}
