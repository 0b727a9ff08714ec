// A logger (or SDI-12 transducer) being reprogrammed, on the far end of a pseudo-terminal.
// It answers from inside the port's read hook: before each read it takes everything the
// program has written so far and queues its answers, so that a test on the virtual clock never
// waits for it and silence costs no real time. Records are framed by their byte count. No Qt.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/PtyPeer.h"

class SimulatedLogger {
public:
    enum class Kind { Quenta, Px70, Px80, Ferrant, Vx5400, Vx6400, Lindqvar, LindqvarPlus };

    SimulatedLogger(PtyPeer& peer, Kind kind);
    ~SimulatedLogger();
    SimulatedLogger(const SimulatedLogger&) = delete;
    SimulatedLogger& operator=(const SimulatedLogger&) = delete;

    // Installs itself as the port's read hook (removed by the destructor).
    void Attach();
    // The read hook: `written` is what the port has written since it was opened.
    void OnRead(unsigned long long written);

    // Knobs.
    bool silentAddress = false;  // an SDI-12 device that does not answer "?!"
    std::map<int, int> nakFrame; // frame index: times it is refused

    // What arrived.
    std::vector<std::string> commands;  // everything before the records, one entry each
    std::vector<unsigned> commandBauds; // the line speed when each command arrived
    std::vector<std::string> records;   // binary records (count .. checksum), accepted ones
    int transmissions = 0;              // frames received, resent ones included
    unsigned recordBaud = 0;            // the line speed when the first frame arrived

private:
    enum class Phase { Commands, Records, Done };
    void Take(unsigned long long written);
    bool ProcessOne();
    void Command(const std::string& bytes);
    void Frame(const std::string& bytes);
    unsigned LineSpeed() const;
    bool IsSdi12() const;
    void Reply(const std::string& bytes) { m_out += bytes; }

    PtyPeer& m_peer;
    Kind m_kind;
    Phase m_phase = Phase::Commands;
    unsigned long long m_taken = 0;
    std::string m_in;
    std::string m_out;
    std::vector<std::string> m_stageReplies; // answered one per later read
    std::string m_record;                    // the record being assembled
    std::size_t m_recordTotal = 0;
    int m_frameIndex = 0;
};
