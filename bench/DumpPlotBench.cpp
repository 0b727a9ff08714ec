// The View Plot page on a large dump (one written by dumpreader --generate).
//
//   dumpplot FILE   times the page plotting it (offscreen: read, every point
//                   on the chart, first paint) against the reader alone
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QImage>
#include <QPainter>

#include "bench/DumpBench.h"
#include "framework/Application.h"
#include "plot/DialogPlot.h"
#include "plot/DumpReader.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceShell.h"
#include "shell/KestruneDlg.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

int PlotPage(const char* path, int argc, char** argv) {
    const long size = FileSize(path);
    if (size < 0) {
        std::perror(path);
        return 1;
    }
    const double mb = double(size) / 1e6;
    const std::string file = path;
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash);
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);

    // A scratch data folder and no serial ports: only the plot page works here.
    char scratch[] = "/tmp/dumpreader-XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("APPDATA", scratch, 1);
    setenv("TRELVORAN_PORTS", scratch, 1);
    FrameworkApplication app(argc, argv);
    RegisterProgramResources();
    CKestruneDlg main;
    main.Create(IDD_KESTRUNE_DIALOG, nullptr);
    CDialogPlot& page = *main.GetPlotPage();
    page.m_szDataFolder = folder;
    page.m_bDayFirst = 1;
    page.m_cboCollectionPeriod.SetCurSel(4);

    DumpReadOptions options;
    options.periodIndex = 4;
    CountSink warm;
    ReadDumpFile(path, options, warm);
    const auto t0 = Clock::now();
    CountSink sink;
    ReadDumpFile(path, options, sink);
    const double reader = Seconds(t0, Clock::now());

    const auto t1 = Clock::now();
    page.m_bFreshPlot = 1;
    page.ProcessPlotFile(name);
    const double process = Seconds(t1, Clock::now());
    QImage image(1600, 900, QImage::Format_RGB32);
    QPainter painter(&image);
    page.m_chart.Chart()->Render(painter, QRectF(0, 0, 1600, 900));
    painter.end();
    const double plot = Seconds(t1, Clock::now());
    std::printf("reader  %8.1f MB/s (%ld points)\n", mb / reader, sink.points);
    std::printf("page    %8.1f MB/s (read, points, first paint)\n", mb / plot);
    std::printf("ratio   %8.3f (page / reader time; %.3f s of it painting)\n", plot / reader,
                plot - process);
    if (!page.m_chart.IsWindowVisible() && page.m_stcMessage.IsWindowVisible())
        std::printf("message %s\n", page.m_stcMessage.GetWindowText().c_str());
    std::filesystem::remove_all(scratch);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dumpplot FILE\n");
        return 2;
    }
    return PlotPage(argv[1], argc, argv);
}
