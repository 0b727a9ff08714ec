// Times the Schedule page's start-up load of 300 sites polled every minute
// since 1 January 2008, on the real clock, in a temporary data folder: the
// page in the main window as the program builds it, every slice of the load
// as its timer would run it, the total and the longest.
//
//   schedule_load_bench [--runs N]
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "framework/Application.h"
#include "framework/Files.h"
#include "framework/Timers.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceShell.h"
#include "schedule/DialogSchedule.h"
#include "shell/KestruneDlg.h"
#include "shell/XTabCtrl.h"

int main(int argc, char** argv) {
    int runs = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // A private data folder, and a ports folder with no ports in it.
    char pattern[] = "/tmp/schedule-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string root = pattern;
    const std::string folder = JoinPath(root, "TrelvoranFiles");
    const std::string ports = JoinPath(root, "ports");
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(ports);
    setenv("APPDATA", root.c_str(), 1);
    setenv("TRELVORAN_PORTS", ports.c_str(), 1);
    FrameworkApplication app(argc, argv);
    RegisterProgramResources();
    std::string sites;
    std::string enabled = "0,";
    for (int site = 1; site <= kSiteCount; ++site) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "#%03d,Site %d,555%03d,3,08:00 01-01-2008,1,M,DUR^M,"
                      "cap%d.txt,A,R,,,,R,,,,R\r\n",
                      site, site, site, site);
        sites += line;
        enabled += "1,";
    }
    CFile file;
    file.Open(JoinPath(folder, "site.cfg"), CFile::modeCreate | CFile::modeWrite);
    file.Write(sites);
    file.Open(JoinPath(folder, "en.cfg"), CFile::modeCreate | CFile::modeWrite);
    file.Write(enabled + "\r\n");
    file.Close();

    using Ms = std::chrono::duration<double, std::milli>;
    double bestTotal = 1e9;
    double sumTotal = 0;
    double longestSlice = 0;
    int slices = 0;
    int rows = 0;
    for (int run = 0; run < runs; ++run) {
        CKestruneDlg main;
        main.Create(IDD_KESTRUNE_DIALOG, nullptr);
        QCoreApplication::processEvents(); // the window maps and lays out, as before the load
        CDialogSchedule& page = *main.GetSchedulePage();
        page.m_pTabCtrl->SetDataFolder(folder.c_str());
        page.KillTimer(IDT_SCHEDULE_TICK);
        double total = 0;
        slices = 0;
        // Each slice as the start-up timer runs it, until the load re-arms it no more.
        while (TimerQueue::Instance().IsSet(&page, IDT_SCHEDULE_START)) {
            const auto start = std::chrono::steady_clock::now();
            page.OnTimer(IDT_SCHEDULE_START);
            const double ms = Ms(std::chrono::steady_clock::now() - start).count();
            total += ms;
            longestSlice = std::max(longestSlice, ms);
            ++slices;
        }
        rows = page.SiteList().GetItemCount();
        bestTotal = std::min(bestTotal, total);
        sumTotal += total;
    }
    std::printf("start-up load of 300 one-minute sites (%d rows, %d slices): total best %.2f ms, "
                "mean %.2f ms; longest slice %.2f ms (%d runs)\n",
                rows, slices, bestTotal, sumTotal / runs, longestSlice, runs);
    std::filesystem::remove_all(root);
    return 0;
}
