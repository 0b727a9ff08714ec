// Streams a logger dump through a pseudo-terminal into the running
// Communicate page at the pace of a serial line, on the real clock, and
// reports the bytes lost and the page's CPU time per MB.
//
//   terminal_stream_bench [--bytes N] [--baud B]
//   terminal_stream_bench --silent SECONDS
//
// --silent keeps the port open with nothing arriving and reports how long
// the event loop was held: the longest single event delivery from the
// moment the main window is mapped (its first expose) and what it was, the
// share of the time spent delivering events (the program's own work:
// timers, polls, painting) while the port is open, and, from outside, the
// longest gap between the ticks of a 1 ms timer (less the 1 ms), which on a
// busy machine also holds the time the process waited for a processor.
// Each delivery is timed twice: its wall time and the thread's own CPU time,
// which a busy machine does not lengthen; the deliveries from the mapping on
// that took 1 ms or more of either are listed.
//
// The far end writes without ever blocking: bytes the tty cannot take
// because the page fell behind are counted as lost, as a UART would drop
// them.
#include <unistd.h>

#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchClock.h"
#include "communicate/DialogSelect.h"
#include "framework/Application.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceShell.h"
#include "schedule/DialogSchedule.h"
#include "shell/KestruneDlg.h"
#include "tests/support/PtyPeer.h"

namespace {

std::string MakeDump(std::size_t bytes) {
    std::string dump;
    dump.reserve(bytes + 64);
    int day = 1;
    int second = 0;
    while (dump.size() < bytes) {
        char line[64];
        if (second % 86400 == 0)
            std::snprintf(line, sizeof line, "00:00:00 %02d/03/25\r\n", day++ % 28 + 1);
        else
            std::snprintf(line, sizeof line, "%02d:%02d:%02d %6.3f\r\n", second / 3600 % 24,
                          second / 60 % 60, second % 60, 0.5 + (second % 997) / 1000.0);
        dump += line;
        second += 15;
    }
    dump.resize(bytes);
    return dump;
}

// Times every event delivery of the program (on the real clock).
class TimedApplication : public FrameworkApplication {
public:
    using FrameworkApplication::FrameworkApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (depth > 0 || (!timing && mapped))
            return FrameworkApplication::notify(receiver, event);
        ++depth;
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        const int type = int(event->type());
        const bool result = FrameworkApplication::notify(receiver, event);
        const double cpuMs = (ThreadCpuSeconds() - cpuStart) * 1000.0;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        --depth;
        if (!mapped) {
            // Events from the window's first expose on count.
            if (type == QEvent::Expose && receiver->isWindowType() &&
                static_cast<QWindow*>(receiver)->isExposed()) {
                mapped = true;
                timing = true;
                mappedAt = std::chrono::steady_clock::now();
            }
            return result;
        }
        if (receiver != ignored) {
            if (counting)
                busyMs += ms;
            const double afterMs =
                std::chrono::duration<double, std::milli>(start - mappedAt).count();
            const char* name = receiver->metaObject()->className();
            if (ms >= 1.0 || cpuMs >= 1.0)
                slow.push_back({afterMs, type, name, ms, cpuMs});
            if (cpuMs > longestCpuMs) {
                longestCpuMs = cpuMs;
                longestCpu = {afterMs, type, name, ms, cpuMs};
            }
            if (ms > longestMs) {
                longestMs = ms;
                longestType = type;
                longestClass = receiver->metaObject()->className();
                longestAfterMs =
                    std::chrono::duration<double, std::milli>(start - mappedAt).count();
            }
        }
        return result;
    }
    bool mapped = false;
    bool timing = false;
    bool counting = false;            // while the port is open
    const QObject* ignored = nullptr; // the measuring timer itself
    double busyMs = 0;
    double longestMs = 0;
    int longestType = 0;
    const char* longestClass = "";
    double longestAfterMs = 0;
    std::chrono::steady_clock::time_point mappedAt;
    struct Delivery {
        double afterMs;
        int type;
        const char* name;
        double wallMs;
        double cpuMs;
    };
    std::vector<Delivery> slow; // 1 ms or more of wall or CPU time
    double longestCpuMs = 0;
    Delivery longestCpu{};

private:
    int depth = 0;
};

// The port open on a silent line: how long is the event loop held?
int RunSilent(TimedApplication& app, CKestruneDlg& main, double seconds, const char* root) {
    CDialogSelect& page = *main.GetSelectPage();
    using Clock = std::chrono::steady_clock;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    Clock::time_point start;
    Clock::time_point last;
    double longestMs = 0;
    double heldMs = 0;
    long ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        const double gapMs = std::chrono::duration<double, std::milli>(now - last).count();
        last = now;
        ++ticks;
        const double overMs = gapMs - 1.0;
        longestMs = std::max(longestMs, overMs);
        if (overMs > 1.0)
            heldMs += overMs;
        if (std::chrono::duration<double>(now - start).count() >= seconds)
            app.quit();
    });
    QTimer starter;
    QObject::connect(&starter, &QTimer::timeout, [&] {
        if (page.GetPortNumber() != 1)
            return;
        starter.stop();
        start = last = Clock::now();
        app.ignored = &ticker;
        app.counting = true;
        ticker.start(1);
    });
    starter.start(50);
    app.exec();
    app.timing = false;
    const double totalMs = std::chrono::duration<double, std::milli>(last - start).count();
    std::printf("silent line:     %.1f s with COM1 open, %ld ticks of a 1 ms timer\n",
                totalMs / 1000.0, ticks);
    std::printf("longest event:   %.3f ms (the program's longest single delivery since the "
                "window mapped)\n",
                app.longestMs);
    std::printf("                 %s, event type %d, %.0f ms after the window mapped\n",
                app.longestClass, app.longestType, app.longestAfterMs);
    std::printf("most thread CPU: %.3f ms (wall %.3f ms), %s, event type %d, %.0f ms after the "
                "window mapped\n",
                app.longestCpuMs, app.longestCpu.wallMs,
                app.longestCpu.name ? app.longestCpu.name : "", app.longestCpu.type,
                app.longestCpu.afterMs);
    std::printf("deliveries of 1 ms or more (after mapping, wall ms, thread CPU ms, type, "
                "receiver):\n");
    for (const TimedApplication::Delivery& d : app.slow)
        std::printf("  %8.1f  %8.3f  %8.3f  %4d  %s\n", d.afterMs, d.wallMs, d.cpuMs, d.type,
                    d.name);
    std::printf("loop busy:       %.3f %% of the time (the program's deliveries)\n",
                totalMs > 0 ? 100.0 * app.busyMs / totalMs : 0);
    std::printf("longest gap:     %.2f ms beyond the tick (seen from outside)\n", longestMs);
    std::printf("gaps over 1 ms:  %.3f %% of the time\n",
                totalMs > 0 ? 100.0 * heldMs / totalMs : 0);
    std::printf("bytes received:  %lld\n", page.GetTotalReceived());
    std::printf("schedule rows:   %d\n", main.GetSchedulePage()->SiteList().GetItemCount());
    std::filesystem::remove_all(root);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t total = 2u << 20;
    int baud = 57600;
    double silentSeconds = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--silent") == 0)
            silentSeconds = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--bytes") == 0)
            total = std::size_t(std::atoll(argv[i + 1]));
        else if (std::strcmp(argv[i], "--baud") == 0)
            baud = std::atoi(argv[i + 1]);
    }
    const double bytesPerSecond = baud / 10.0; // start, 8 data bits, stop

    // A private data folder, and a ports folder with COM1 on a pseudo-terminal.
    char root[] = "/tmp/trelvoran-bench-XXXXXX";
    if (!mkdtemp(root))
        return 1;
    setenv("APPDATA", root, 1);
    TempPortsFolder ports;
    PtyPeer peer;
    if (!peer.IsOk() || !peer.LinkAs(ports.Path(), 1))
        return 1;
    const int master = peer.MasterFd();

    TimedApplication app(argc, argv);
    RegisterProgramResources();
    CKestruneDlg main;
    main.Create(IDD_KESTRUNE_DIALOG, nullptr);
    CDialogSelect& page = *main.GetSelectPage();

    if (silentSeconds > 0)
        return RunSilent(app, main, silentSeconds, root);

    const std::string dump = MakeDump(total);
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> lost{0};
    std::atomic<bool> done{false};
    double cpuStart = 0;
    std::thread feeder;

    // Start streaming once the page has opened COM1.
    QTimer starter;
    QObject::connect(&starter, &QTimer::timeout, [&] {
        if (page.GetPortNumber() != 1 || feeder.joinable())
            return;
        starter.stop();
        cpuStart = ThreadCpuSeconds();
        feeder = std::thread([&] {
            const auto begin = std::chrono::steady_clock::now();
            std::size_t sent = 0;
            while (sent < dump.size()) {
                const double elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
                const std::size_t due =
                    std::min(dump.size(), std::size_t(elapsed * bytesPerSecond));
                while (sent < due) {
                    const ssize_t n = write(master, dump.data() + sent, due - sent);
                    if (n > 0) {
                        sent += std::size_t(n);
                        written += std::size_t(n);
                    } else {
                        // The tty is full: the page is behind; the byte is gone.
                        ++sent;
                        ++lost;
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            done = true;
        });
    });
    starter.start(50);

    // Stop when the page has everything the line delivered, or has gone
    // quiet for two seconds after the end.
    long long lastSeen = -1;
    int quietTicks = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!done)
            return;
        const long long received = page.GetTotalReceived();
        quietTicks = received == lastSeen ? quietTicks + 1 : 0;
        lastSeen = received;
        if (std::size_t(received) >= written || quietTicks >= 20)
            app.quit();
    });
    watcher.start(100);
    app.exec();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    feeder.join();

    const long long received = page.GetTotalReceived();
    const std::size_t lostInPage = written - std::size_t(received);
    const std::string shown = page.Terminal().GetWindowText();
    const bool tailMatches =
        !shown.empty() && dump.compare(dump.size() - shown.size(), shown.size(), shown) == 0;
    const double mb = double(total) / (1024.0 * 1024.0);
    std::printf("streamed:        %zu bytes at %d baud\n", total, baud);
    std::printf("lost at the tty: %zu bytes\n", lost.load());
    std::printf("lost in page:    %zu bytes\n", lostInPage);
    std::printf("terminal tail:   %s (%zu bytes shown)\n", tailMatches ? "matches" : "DIFFERS",
                shown.size());
    std::printf("page CPU:        %.3f s in all, %.3f s per MB\n", cpu, cpu / mb);
    std::filesystem::remove_all(root);
    return (lost == 0 && lostInPage == 0 && tailMatches) ? 0 : 2;
}
