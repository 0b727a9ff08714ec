// The far end of a COM port in tests: a pseudo-terminal pair whose slave the program opens
// and whose master the test reads and writes. No Qt.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

class PtyPeer {
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool IsOk() const { return m_master >= 0 && m_slave >= 0; }
    // The device the program opens, e.g. /dev/pts/7.
    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }
    int SlaveFd() const { return m_slave; }

    // Makes the link dir/COMn to the slave (removed again by the destructor).
    bool LinkAs(const std::string& dir, int comNumber);

    // Writes to the program and waits (up to 2 s) until the bytes are queued for it to read,
    // so that a test on a virtual clock may advance at once. At most a few KB at a time: a
    // tty does not queue more for a reader that is not reading.
    bool Send(const std::string& bytes);
    // Bytes waiting for the program to read (FIONREAD on the slave).
    int QueuedForProgram() const;

    // What the program has written: everything that has arrived, waiting up to waitMs for
    // the first byte when nothing has.
    std::string ReadAvailable(int waitMs = 0);
    // Succeeds when the next bytes from the program are exactly these, within timeoutMs.
    // On success they are taken; on failure everything that arrived stays for ReadAvailable.
    testing::AssertionResult Expect(const std::string& bytes, int timeoutMs = 20000);
    // Takes the next `count` bytes the program writes, waiting up to timeoutMs
    // of real time; a shortfall fails the test and gives what came.
    std::string Take(std::size_t count, int timeoutMs = 20000);
    // Throws away whatever the program has written so far.
    void Drain();

    // Opens and locks the slave another time so that the program's Open must fail.
    void Hold();
    void Release();

    // Gives the slave the settings of a freshly opened terminal (echo, line editing, CR/LF
    // translation, XON/XOFF, signals, parity marking), to show that Open undoes them.
    void MakeSlaveCooked();
    // Closes the master, as when the cable or the USB adapter goes: the slave is hung up.
    void HangUp();

    // Bytes as C-style escaped text, for failure messages.
    static std::string Printable(const std::string& bytes);

private:
    void ReadInto(std::string& out);

    int m_master = -1;
    int m_slave = -1;
    int m_hold = -1;
    std::string m_slavePath;
    std::string m_pending;
    std::vector<std::string> m_links;
};

// What the program says of COM`n`, this peer's port, held by process `pid`.
std::string InUseText(int n, const PtyPeer& peer, int pid);

// A temporary ports folder named by $TRELVORAN_PORTS for the life of the object, so that only
// its links are COM ports; it is also the only UUCP lock folder. The previous values are
// restored afterwards.
class TempPortsFolder {
public:
    TempPortsFolder();
    ~TempPortsFolder();
    TempPortsFolder(const TempPortsFolder&) = delete;
    TempPortsFolder& operator=(const TempPortsFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_hadPrevious = false;
    std::string m_previous;
    std::vector<std::string> m_previousLockFolders;
};
