// A Hayes modem with a logger behind it, on the far end of a pseudo-terminal. Like the
// simulated logger it answers from the port's read hook, so a test on the virtual clock never
// waits for it: before each read it takes what the program wrote and queues its answers, and
// hands over the answers that are due by the virtual clock. No Qt.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/PtyPeer.h"

class SimulatedModem {
public:
    enum class Answer { Connect, Busy, NoCarrier, NoDialtone, Silence };
    // Bytes the logger sends `afterMs` after it took the command.
    struct Piece {
        long long afterMs = 0;
        std::string bytes;
    };

    explicit SimulatedModem(PtyPeer& peer);
    ~SimulatedModem();
    SimulatedModem(const SimulatedModem&) = delete;
    SimulatedModem& operator=(const SimulatedModem&) = delete;

    // Installs itself as the port's read hook (removed by the destructor).
    void Attach();
    void OnRead(unsigned long long written);

    // Knobs.
    bool direct = false; // no modem: the logger is on the line from the start
    bool echo = false;
    long long answerAfterMs = 3000;        // from the dial command to the modem's answer
    std::map<std::string, Answer> numbers; // by number; one not listed stays silent
    std::map<std::string, std::vector<Piece>> replies; // the logger's, by line without its CR

    // What arrived.
    std::string received; // every byte, as it came
    std::vector<std::string> dialled;
    std::vector<std::string> loggerLines; // lines the logger took, without their CR
    int hangups = 0;                      // "ATH" commands
    bool IsOnline() const { return m_online; }

private:
    void Take(unsigned long long written);
    void CommandMode();
    void Online();
    void Queue(long long afterMs, const std::string& bytes);

    PtyPeer& m_peer;
    unsigned long long m_taken = 0;
    bool m_online = false;
    std::string m_in;
    std::multimap<long long, std::string> m_due; // virtual ms: bytes
};
