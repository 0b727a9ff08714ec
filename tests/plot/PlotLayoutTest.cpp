// What the chart shows at any size and on paper: every text readable and
// clear of the others and of the axes' labels; steps, lone points, the zoom
// ladder, held ranges and the mouse buttons as the user meets them.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include "framework/Files.h"
#include "plot/DumpReader.h"
#include "plot/RainTotal.h"
#include "stripchart/ChartLayout.h"
#include "tests/plot/PlotPageFixture.h"

namespace {

// Two years of every parameter, one line a day of each kind.
std::string AllParameters() {
    std::string dump = "duall\r\nSite: A long site name for the plot title, forty\r\n";
    for (int d = 0; d < 730; ++d) {
        const PlotFields f = PlotTimeFields(MakePlotTime(2023, 1, 1, 12, 0, 0) + d * 86400LL);
        for (int type = 1; type <= 5; ++type)
            dump += Format("%d,%02d/%02d/%02d,12:00:00,%d.5\r\n", type, f.day, f.month,
                           f.year % 100, type == 5 ? -40 : 1000 + d % 7);
    }
    return dump;
}

class PlotLayout : public PlotPageFixture {
protected:
    // Every shown text inside `area`, apart from every other text and from
    // every axis label, ink against ink.
    void ExpectReadable(const QRectF& area, double scale, const char* where) {
        SCOPED_TRACE(where);
        const ChartLayout L = LayoutChart(M(), area, scale);
        const QFontMetricsF fm(L.font);
        auto ink = [&](const ChartLabel& t) {
            return fm.tightBoundingRect(t.text).translated(t.origin);
        };
        std::vector<QRectF> texts;
        for (int i = 0; i < M().TextCount(); ++i) {
            const std::string& caption = M().Text(i)->caption;
            if (caption.find_first_not_of(' ') == std::string::npos)
                continue;
            const ChartLabel& t = L.texts[std::size_t(i)];
            ASSERT_EQ(t.text.toStdString(), caption);
            texts.push_back(ink(t));
            EXPECT_TRUE(area.contains(texts.back())) << caption;
            for (std::size_t k = 0; k + 1 < texts.size(); ++k)
                EXPECT_FALSE(texts[k].intersects(texts.back())) << caption << " / " << k;
            for (const ChartLabel& label : L.axisLabels)
                EXPECT_FALSE(ink(label).intersects(texts.back()))
                    << caption << " / " << label.text.toStdString();
        }
        EXPECT_EQ(texts.size(), 23u);
        // The rain total reads Start, End, the bracket, the total.
        const auto& T = L.texts;
        EXPECT_LT(T[14].ink.right(), T[17].ink.left());
        EXPECT_LT(T[15].ink.right(), T[18].ink.left());
        EXPECT_LT(std::max(T[17].ink.right(), T[18].ink.right()), T[16].ink.left());
        for (const ChartLabel& label : L.axisLabels)
            EXPECT_TRUE(area.contains(ink(label))) << label.text.toStdString();
        // The plot keeps most of the control.
        EXPECT_GT(L.plot.width() * L.plot.height(), 0.5 * area.width() * area.height());
    }
};

} // namespace

TEST_F(PlotLayout, LongestTextsStayReadableAtEverySizeAndOnPaper) {
    Start({{"Duall001.plt", AllParameters()}});
    Plot("Duall001.plt");
    ASSERT_TRUE(P().m_chart.IsWindowVisible());
    // Every text object with its longest realistic text.
    P().SetChartTextCaption(0, "Plot of All Parameters :  Site: A long site name for the plo");
    const char* readouts[] = {"999.9mm", "-12.345m", "13.85V", "13.85V", "T=-40.0C"};
    for (int i = 0; i < 5; ++i)
        P().SetChartTextCaption(8 + i, readouts[i]);
    P().SetChartTextCaption(13, "12:59:59 PM 31-Dec-2099");
    P().SetChartTextCaption(14, "Start 12:59:59 PM 31-Dec-2099");
    P().SetChartTextCaption(15, "End  12:59:59 PM 31-Dec-2099");
    P().SetChartTextCaption(16, "  999.9");
    P().SetChartTextCaption(17, "\\");
    P().SetChartTextCaption(18, "/");
    const QSize opening = P().m_chart.GetWidget()->size();
    EXPECT_GT(opening.width(), 300);
    // Chart sizes; the page is 20 wider: maximised on 2560 and 3840 wide screens.
    const QSize sizes[] = {opening,      {1280, 720},  {1920, 1080},
                           {2540, 1300}, {3820, 2040}, {3840, 2160}};
    for (int separate : {0, 1}) {
        P().m_chkPlotSeparately.SetCheck(separate ? BST_CHECKED : BST_UNCHECKED);
        P().ArrangeYAxes();
        P().PlaceUnitLabels();
        for (QSize size : sizes) {
            P().OnSize(0, size.width() + 20, size.height() + 75);
            const QString where =
                QString("%1x%2 separate %3").arg(size.width()).arg(size.height()).arg(separate);
            ExpectReadable(QRectF(QPointF(0, 0), QSizeF(size)), 1.0, where.toLatin1().constData());
        }
    }

    // On a landscape page, the chart as on the screen, printed from the wide
    // windows and from the opening size.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(h.env.Root() + "/layout.pdf"));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter(&printer);
    QRectF area;
    double scale = 0;
    for (QSize size : {sizes[3], sizes[4], opening}) {
        P().OnSize(0, size.width() + 20, size.height() + 75);
        ASSERT_TRUE(P().m_chart.Chart()->PrintArea(printer, 1.0, 1.0, 9.0, 5.0, &area, &scale));
        const QString where = QString("page from %1 wide").arg(size.width());
        ExpectReadable(area, scale, where.toLatin1().constData());
    }
    P().m_chart.PrintChart(&painter, 1.0, 1.0, 9.0, 5.0);
    EXPECT_NEAR(area.width(), 9.0 * printer.logicalDpiX(), 1.0);
    const ChartLayout screen = LayoutChart(M(), QRectF(QPointF(0, 0), QSizeF(opening)), 1.0);
    const ChartLayout page = LayoutChart(M(), area, scale);
    const double onScreen = double(screen.font.pixelSize()) / opening.width();
    EXPECT_NEAR(page.font.pixelSize() / area.width(), onScreen, 0.1 * onScreen);
    painter.end();
}

TEST(ChartSteps, CarriedAcrossTheWindowAndALonePointShows) {
    StripChart chart;
    ChartModel& m = chart.Model();
    m.SetSeriesCount(2);
    m.Axis(0)->min = 0;
    m.Axis(0)->max = 100;
    m.windowStart = 0;
    m.windowEnd = 10;
    // Steps whose only points lie outside the window on both sides.
    m.Style(0)->mode = 2;
    m.Style(0)->color = 0x0000FF;
    m.AddPoint(0, -5, 50);
    m.AddPoint(0, 15, 80);
    m.AddPoint(0, 20, 0);
    // One point, far from the steps.
    m.Style(1)->color = 0xFF0000;
    m.Style(1)->lineWidth = 2;
    m.AddPoint(1, 5, 90);
    const QRectF area(0, 0, 600, 300);
    QImage image(600, 300, QImage::Format_RGB32);
    QPainter p(&image);
    chart.Render(p, area);
    const ChartLayout L = LayoutChart(m, area, 1.0);
    const ChartTrack& t = L.tracks[0];
    const int y50 = int(std::lround(t.Y(50)));
    int red = 0;
    for (int x = int(std::ceil(t.rect.left())) + 1; x < int(t.rect.right()) - 1; ++x) {
        bool found = false;
        for (int y = y50 - 1; y <= y50 + 1; ++y)
            found = found || image.pixel(x, y) == qRgb(255, 0, 0);
        red += found;
        EXPECT_TRUE(found) << "column " << x;
    }
    EXPECT_GT(red, 400);
    const QPointF lone(t.rect.center().x(), t.Y(90));
    int blue = 0;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            blue += image.pixel(int(lone.x()) + dx, int(lone.y()) + dy) == qRgb(0, 0, 255);
    EXPECT_GE(blue, 9);
}

TEST_F(PlotLayout, ZoomLadderHeldRangesAndRightDrags) {
    const char rain[] = "DUR\r\r\nSite RAIN 0.2\r\n00:00:00 02/01/10\r\n08:00:00\r\n08:30:00\r\n";
    Start({{"Durv800.plt", RiverDays(800, MakePlotTime(2020, 1, 1, 0, 0, 0))},
           {"Durv2025.plt", "durv\r\nS\r\n00:00:00 01/03/25\r\n01:00:00 1.0\r\n"},
           {"Durv2022.plt", "durv\r\nS\r\n00:00:00 01/06/22\r\n01:00:00 1.0\r\n"
                            "00:00:00 01/06/24\r\n01:00:00 2.0\r\n"},
           {"Durn001.plt", rain}});
    // Down the ladder and back up past "1 Year" to all the data.
    Plot("Durv800.plt");
    const double full = P().m_dFullSpan, middle = (P().m_dMinTime + P().m_dMaxTime) / 2;
    EXPECT_NEAR(full, 800.5, 1e-6);
    for (const char* caption : {"1 Year", "1 Month", "1 Week", "1 Day", "2 Hours", "10 Mins"}) {
        P().OnZoomIn();
        EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), caption);
    }
    for (const char* caption :
         {"2 Hours", "1 Day", "1 Week", "1 Month", "1 Year", "Zoom All", "Zoom All"}) {
        P().OnZoomOut();
        EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), caption);
    }
    EXPECT_NEAR(M().windowEnd - M().windowStart, 1.02 * full, 1e-6);
    EXPECT_NEAR((M().windowStart + M().windowEnd) / 2, middle, 1e-6);

    // A held river that the next river file replaces no longer counts; one
    // that the next file leaves alone does.
    Plot("Durv2025.plt");
    P().m_chkHoldRiver.SetCheck(BST_CHECKED);
    Plot("Durv2022.plt");
    EXPECT_NEAR(P().m_dMinTime, Ole(2022, 6, 1), 1e-6);
    EXPECT_NEAR(P().m_dMaxTime, Ole(2024, 6, 1, 1), 1e-6);
    Plot("Durn001.plt");
    EXPECT_NEAR(P().m_dMinTime, Ole(2010, 1, 2), 1e-6);
    EXPECT_NEAR(P().m_dMaxTime, Ole(2024, 6, 1, 1), 1e-6);
    EXPECT_TRUE(P().m_chkHoldRiver.IsWindowEnabled() && P().m_chkHoldRain.IsWindowEnabled());

    // Shift with a right-button drag pans and marks nothing; the left
    // button still marks.
    P().m_chart.Chart()->resize(700, 400);
    const double start = M().windowStart;
    ShiftMouse(QEvent::MouseButtonPress, 300, Qt::RightButton, Qt::RightButton);
    ShiftMouse(QEvent::MouseMove, 400, Qt::NoButton, Qt::RightButton);
    ShiftMouse(QEvent::MouseButtonRelease, 400, Qt::RightButton, Qt::NoButton);
    EXPECT_LT(M().windowStart, start);
    EXPECT_EQ(P().m_bStartSet, 0);
    EXPECT_EQ(M().Text(14)->caption, "");
    EXPECT_EQ(M().Text(16)->caption, "");
    EXPECT_EQ(M().Points(5)->Size(), 0u);
    EXPECT_FALSE(M().cursorShown);
    ShiftMouse(QEvent::MouseButtonPress, 300, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(P().m_bStartSet, 1);
    ShiftMouse(QEvent::MouseButtonPress, 400, Qt::MiddleButton, Qt::LeftButton | Qt::MiddleButton);
    ShiftMouse(QEvent::MouseButtonRelease, 400, Qt::MiddleButton, Qt::LeftButton);
    EXPECT_EQ(P().m_bStartSet, 1);
    EXPECT_EQ(M().Text(16)->caption, "");
}

namespace {

struct RainBars : DumpSink {
    std::vector<std::pair<double, double>> bars;
    void OnPoint(int series, double time, double value) override {
        if (series == SERIES_RAIN)
            bars.emplace_back(time, value);
    }
    // The plotted value of the period starting at `time`: the step holds.
    double At(double time) const {
        double v = 0.0;
        for (const auto& b : bars)
            if (b.first <= time + 1e-9)
                v = b.second;
        return v;
    }
};

} // namespace

TEST(RainBars, BoundaryTipAfterDryPeriodsAndTotalsMatchTheBars) {
    // A tip exactly at midnight after two dry days belongs to the day that
    // ends there.
    const std::string dump = "DUR\r\r\nSite 0.2\r\n00:00:00 01/01/10\r\n08:00:00\r\n"
                             "00:00:00 02/01/10\r\n00:00:00 03/01/10\r\n00:00:00 05/01/10\r\n"
                             "00:00:00\r\n10:00:00\r\n";
    RainBars sink;
    DumpMemorySource source(dump);
    ReadDump(source, DumpReadOptions(), sink);
    const int day[] = {1, 2, 4, 5, 6};
    const double mm[] = {0.2, 0.0, 0.2, 0.2, 0.0};
    ASSERT_EQ(sink.bars.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(sink.bars[i].first, Ole(2010, 1, day[i]), 1e-9) << i;
        EXPECT_NEAR(sink.bars[i].second, mm[i], 1e-9) << i;
    }

    // The demo dump under every collection period: the total from the first
    // period's start to any later boundary is the sum of the bars between.
    std::string demo;
    ASSERT_TRUE(ReadWholeFile("DurnDemo.plt", &demo));
    for (int period = 0; period < 5; ++period) {
        SCOPED_TRACE(period);
        RainBars bars;
        DumpMemorySource in(demo);
        DumpReadOptions options;
        options.periodIndex = period;
        const DumpReadResult r = ReadDump(in, options, bars);
        ASSERT_GT(bars.bars.size(), 2u);
        const double p = double(r.periodSeconds) / 86400.0, s0 = bars.bars.front().first;
        const int periods = int(std::lround((bars.bars.back().first - s0) / p));
        for (int k = 1; k <= periods; k += std::max(1, periods / 37)) {
            double sum = 0.0;
            for (int j = 0; j < k; ++j)
                sum += bars.At(s0 + j * p);
            DumpMemorySource again(demo);
            EXPECT_NEAR(CountRainTotal(again, true, s0, s0 + k * p), sum, 1e-6) << k;
        }
    }
}
