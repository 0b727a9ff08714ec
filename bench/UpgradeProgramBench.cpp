// Programs a firmware image into a simulated Ferrant logger on a pseudo-terminal, on the real
// clock, through the running Firmware Upgrade page, and reports records per second against
// the bound set by the line: each frame's bytes at the line's pace plus the 50 ms pause after
// every tick of 50 records. The device answers at once, but takes a frame only as fast as the
// line would deliver it. Also times the HEX check and conversion of the image.
//
//   upgrade_program_bench [--records N] [--baud B]
#include <poll.h>
#include <unistd.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "framework/Application.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceShell.h"
#include "resources/ResourceUpgrade.h"
#include "shell/KestruneDlg.h"
#include "shell/XTabCtrl.h"
#include "tests/support/PtyPeer.h"
#include "upgrade/DialogUpgrade.h"
#include "upgrade/IntelHex.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string HexLine(unsigned address, int type, int count, int seed) {
    std::string line = ":";
    int sum = 0;
    char pair[3];
    auto put = [&](int b) {
        std::snprintf(pair, sizeof pair, "%02X", b & 0xFF);
        line += pair;
        sum += b & 0xFF;
    };
    put(count);
    put(int(address >> 8));
    put(int(address));
    put(type);
    for (int k = 0; k < count; ++k)
        put(seed * 13 + k);
    put((256 - (sum & 0xFF)) & 0xFF);
    return line + "\r\n";
}

bool ReadExactly(int fd, std::string& buffer, std::size_t count, Clock::time_point* first) {
    while (buffer.size() < count) {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 20000) <= 0)
            return false;
        char chunk[256];
        const ssize_t n = read(fd, chunk, std::min(sizeof chunk, count - buffer.size()));
        if (n <= 0)
            return false;
        if (buffer.empty() && first)
            *first = Clock::now();
        buffer.append(chunk, std::size_t(n));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int records = 15000;
    int baud = 9600;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--records") == 0)
            records = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--baud") == 0)
            baud = std::atoi(argv[i + 1]);
    }
    const double secondsPerByte = 10.0 / baud;

    char root[] = "/tmp/trelvoran-bench-XXXXXX";
    if (!mkdtemp(root))
        return 1;
    const std::string data = std::string(root) + "/TrelvoranFiles";
    std::filesystem::create_directories(data);
    setenv("APPDATA", root, 1);

    std::string image;
    for (int r = 0; r < records; ++r)
        image += HexLine(unsigned(r * 16), 0, 16, r);
    image += HexLine(0, 1, 0, 0);
    const std::string firmware = std::string(root) + "/firmware.hex";
    std::ofstream(firmware, std::ios::binary) << image;
    std::ofstream(data + "/comms.cfg", std::ios::binary) << "001, 3";
    std::ofstream(data + "/File.cfg", std::ios::binary) << firmware;

    const auto convertStart = Clock::now();
    std::vector<HexFrame> frames;
    ConvertHexFile(image.data(), image.size(), false, &frames);
    const double convertMs =
        std::chrono::duration<double, std::milli>(Clock::now() - convertStart).count();

    TempPortsFolder ports;
    PtyPeer peer;
    if (!peer.IsOk() || !peer.LinkAs(ports.Path(), 1))
        return 1;
    const int master = peer.MasterFd();

    // The device: entry sequence, then frames framed by their byte count, each acknowledged
    // once the line could have delivered it; then the version request.
    std::atomic<int> framesTaken{0};
    std::atomic<bool> deviceOk{true};
    double lineSeconds = 0;
    Clock::time_point firstFrame{};
    Clock::time_point lastAck{};
    std::thread device([&] {
        std::string entry;
        if (!ReadExactly(master, entry, 10, nullptr)) {
            deviceOk = false;
            return;
        }
        const char stages[] = {char(0xC5), char(0xD8)};
        write(master, stages, sizeof stages);
        std::size_t recordLeft = 0;
        for (;;) {
            std::string frame;
            Clock::time_point start;
            if (!ReadExactly(master, frame, 2, &start)) {
                deviceOk = false;
                return;
            }
            const bool firstPiece = recordLeft == 0;
            if (firstPiece)
                recordLeft = std::size_t(static_cast<unsigned char>(frame[1])) + 5;
            const std::size_t piece = std::min<std::size_t>(22, recordLeft);
            if (!ReadExactly(master, frame, 1 + piece, nullptr)) {
                deviceOk = false;
                return;
            }
            const bool endOfFile = firstPiece && frame[4] == 0x01;
            recordLeft -= piece;
            if (framesTaken == 0)
                firstFrame = start;
            const double onLine = double(frame.size()) * secondsPerByte;
            lineSeconds += onLine;
            std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(
                                                      std::chrono::duration<double>(onLine)));
            const char ack = 0x06;
            write(master, &ack, 1);
            lastAck = Clock::now();
            ++framesTaken;
            if (endOfFile)
                break;
        }
        std::string version;
        if (ReadExactly(master, version, 2, nullptr)) {
            const char reply[] = "\rF2.1\r\n";
            write(master, reply, sizeof reply - 1);
        }
    });

    FrameworkApplication app(argc, argv);
    RegisterProgramResources();
    CKestruneDlg main;
    main.Create(IDD_KESTRUNE_DIALOG, nullptr);
    CDialogUpgrade& page = *main.GetUpgradePage();
    page.Item<CButton>(IDC_DEVICE_FERRANT)->Click();
    main.GetTabCtrl().UserSelect(3);

    bool started = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* start = page.Item<CButton>(IDC_START_UPGRADE);
        if (!started) {
            if (start->IsWindowEnabled()) {
                started = true;
                start->Click();
            }
            return;
        }
        if (!deviceOk || (start->IsWindowEnabled() && main.GetTabCtrl().IsTabEnabled(0)))
            app.quit();
    });
    driver.start(100);
    app.exec();
    peer.HangUp(); // ends a device still waiting
    device.join();

    const int sent = framesTaken;
    const int ticks = (sent + 49) / 50;
    const double bound = lineSeconds + 0.05 * (ticks - 1);
    const double took = std::chrono::duration<double>(lastAck - firstFrame).count();
    std::printf("image:           %d records, %zu bytes; check and convert %.1f ms\n", records,
                image.size(), convertMs);
    std::printf("frames taken:    %d of %zu%s\n", sent, frames.size(), deviceOk ? "" : " (failed)");
    std::printf("records/s:       %.2f at %d baud (bound %.2f)\n", sent / took, baud, sent / bound);
    std::printf("time:            %.2f s against %.2f s, %.1f %% over\n", took, bound,
                100.0 * (took - bound) / bound);
    std::printf("status:          %s\n",
                page.GetDlgItem(IDC_UPGRADE_STATUS)->GetWindowText().c_str());
    std::filesystem::remove_all(root);
    return deviceOk && sent == int(frames.size()) ? 0 : 2;
}
