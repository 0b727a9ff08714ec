// Strip-chart repaint cost against the number of visible points: a line and
// a filled step series painted into a 1600 x 900 image, the median of 20
// repaints per size, and the first repaint after the points changed (the
// series then finds its pixel columns anew); then the cost of appending a
// million points.
//   chart_redraw [--png DIR]   DIR receives the thinned and unthinned 1 M images
//   chart_redraw --profile N   N points only: the mean of 50 such medians
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "stripchart/ChartModel.h"
#include "stripchart/ChartPainter.h"

namespace {

// Times are the thread's CPU time in ms: the machine may be shared.
double CpuMs() {
    return ThreadCpuSeconds() * 1e3;
}

void Fill(ChartModel& m, std::size_t n) {
    m.ClearSeries(0);
    m.ClearSeries(1);
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double f = double(i) / double(n);
        const double t = 40000.0 + 100.0 * f;
        m.AddPoint(0, t, 80.0 + 60.0 * std::sin(f * 40.0) + 8.0 * noise(rng));
        m.AddPoint(1, t, (i % 97 == 0) ? 5.0 + noise(rng) : 0.0);
    }
}

double MedianPaintMs(const ChartModel& m, bool thinned, QImage* keep = nullptr, int repeats = 20,
                     double* first = nullptr) {
    // One image for every call: its pages are touched once, before timing.
    static QImage image = [] {
        QImage i(1600, 900, QImage::Format_RGB32);
        i.fill(Qt::white);
        return i;
    }();
    ChartPaintOptions o;
    o.thinned = thinned;
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) {
        const double start = CpuMs();
        QPainter p(&image);
        PaintChart(p, m, QRectF(0, 0, 1600, 900), o);
        p.end();
        times.push_back(CpuMs() - start);
    }
    if (keep)
        *keep = image.copy();
    if (first)
        *first = times.front();
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    std::string pngDir;
    std::size_t only = 0; // --profile N: N points, repainted many times
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--png") == 0)
            pngDir = argv[i + 1];
        if (std::strcmp(argv[i], "--profile") == 0)
            only = std::strtoull(argv[i + 1], nullptr, 10);
    }

    ChartModel m;
    m.SetSeriesCount(2);
    m.Style(0)->color = 0xFF0000;
    m.Style(0)->lineWidth = 2;
    m.Style(1)->color = 0x0000FF;
    m.Style(1)->mode = 2;
    m.Style(1)->fill = true;
    m.Axis(0)->min = -100;
    m.Axis(0)->max = 200;
    m.windowStart = 40000.0;
    m.windowEnd = 40100.0;

    if (only > 0) {
        Fill(m, only);
        double total = 0;
        for (int r = 0; r < 50; ++r)
            total += MedianPaintMs(m, true);
        std::printf("%zu points: %.2f ms per repaint\n", only, total / 50);
        return 0;
    }

    Fill(m, 1000);
    MedianPaintMs(m, true); // fonts and caches warm up first

    double base = 0;
    for (std::size_t n :
         {std::size_t(1000), std::size_t(100000), std::size_t(1000000), std::size_t(10000000)}) {
        Fill(m, n);
        QImage image;
        double first = 0;
        const double ms = MedianPaintMs(m, true, &image, 20, &first);
        if (n == 1000)
            base = ms;
        std::printf("%9zu points per series: %8.2f ms per repaint (%.2f x the 1 k time), "
                    "first %.2f ms\n",
                    n, ms, ms / base, first);
        if (n == 1000000) {
            QImage unthinned;
            const double full = MedianPaintMs(m, false, &unthinned, 3);
            std::printf("%9zu points unthinned:  %8.2f ms per repaint (median of 3)\n", n, full);
            if (!pngDir.empty()) {
                image.save(QString::fromLocal8Bit(pngDir + "/chart_1M_thinned.png"));
                unthinned.save(QString::fromLocal8Bit(pngDir + "/chart_1M_unthinned.png"));
            }
        }
        if (n == 10000000) {
            const double bytes = double(m.Points(0)->MemoryBytes()) / double(n);
            std::printf("memory: %.1f bytes per point\n", bytes);
        }
    }
    Fill(m, 0);

    ChartSeries series;
    const double start = CpuMs();
    for (int i = 0; i < 1000000; ++i)
        series.Add(40000.0 + i / 1440.0, double(i % 1000));
    std::printf("appending 1 M points: %.1f ms\n", CpuMs() - start);
    return 0;
}
