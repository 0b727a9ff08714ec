// A fresh environment per test: temporary $HOME, $APPDATA and ports folder,
// the virtual clock at a fixed local time, and the serial port without real
// waits.
#pragma once

#include <string>
#include <vector>

#include "framework/Clock.h"

class TestEnv {
public:
    // Once per process, before the application exists.
    static void PrepareProcess();

    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    const std::string& Root() const { return m_root; }
    const std::string& AppData() const { return m_appData; }
    const std::string& Ports() const { return m_ports; }
    // The only UUCP lock folder while the environment lives.
    std::string Locks() const { return m_root + "/lock"; }
    // The data folder the program will use.
    std::string DataFolder() const { return m_appData + "/TrelvoranFiles"; }

    // Advances the virtual clock, firing timers on the way (not in the core
    // tests: the timers are the window system's).
    static void Advance(long long ms);

    static LocalTime DefaultStart();

private:
    std::string m_root;
    std::string m_appData;
    std::string m_ports;
    std::vector<std::string> m_previousLockFolders;
};

// A local wall time, for the virtual clock and the time arithmetic.
LocalTime Wall(int y, int mo, int d, int h, int mi, int s);
