// SIGTERM, SIGINT and SIGHUP brought into the event loop through a pipe: the
// handler only writes the signal's number to it; the loop reads it and calls
// the owner's function there. One watcher at a time; the dispositions it
// found return when it goes.
#pragma once

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void(int)> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void Drain();

    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previous[3] = {};
};
