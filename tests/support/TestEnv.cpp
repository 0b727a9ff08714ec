#include "tests/support/TestEnv.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "framework/SerialDevice.h"
#include "framework/Timers.h"
#include "shell/CommPort.h"

void TestEnv::PrepareProcess() {
    setenv("TZ", "UTC", 1);
    tzset();
}

LocalTime TestEnv::DefaultStart() {
    LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 14;
    t.hour = 9;
    t.minute = 30;
    t.second = 0;
    return t;
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

void TestEnv::Advance(long long ms) {
    TimerQueue::Instance().Advance(ms);
}
