// Times the Schedule page's start-up load of 300 sites polled every minute
// since 1 January 2008, on the real clock, in a temporary data folder.
//
//   schedule_load_bench [--runs N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "framework/Application.h"
#include "framework/Files.h"
#include "schedule/DialogSchedule.h"
#include "shell/XTabCtrl.h"

int main(int argc, char** argv) {
    int runs = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    FrameworkApplication app(argc, argv);

    char pattern[] = "/tmp/schedule-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern) ? pattern : "/tmp";
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

    CXTabCtrl tabs;
    tabs.SetDataFolder(folder.c_str());
    double best = 1e9;
    double total = 0;
    for (int run = 0; run < runs; ++run) {
        CDialogSchedule page;
        page.Create(IDD_SCHEDULE, nullptr);
        page.KillTimer(IDT_SCHEDULE_START);
        page.KillTimer(IDT_SCHEDULE_TICK);
        page.m_pTabCtrl = &tabs;
        const auto start = std::chrono::steady_clock::now();
        page.StartupLoad();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        best = std::min(best, ms);
        total += ms;
    }
    std::printf("start-up load of 300 one-minute sites: best %.2f ms, mean %.2f ms (%d runs)\n",
                best, total / runs, runs);
    std::filesystem::remove_all(folder);
    return 0;
}
