// The strip chart through its wrapper: the model behind the selectors, the
// mouse events as the page receives them, painting of awkward input,
// thinning and printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "framework/OleDate.h"
#include "framework/Text.h"
#include "plot/Strip.h"

namespace {

// Stands in for the page: records every chart notification.
class Owner : public CWnd {
public:
    BOOL OnNotify(UINT id, UINT code, NMHDR* payload) override {
        auto* n = static_cast<NMCHART*>(payload);
        char line[80];
        if (code == CHN_CURSOR)
            std::snprintf(line, sizeof line, "cursor %.6f", n->time);
        else if (code == CHN_RANGECHANGED)
            std::snprintf(line, sizeof line, "range");
        else
            std::snprintf(line, sizeof line, "%s %d %d", code == CHN_MOUSEDOWN ? "down" : "up",
                          n->button, n->shift);
        events.push_back(line);
        EXPECT_EQ(id, 1044u);
        return TRUE;
    }
    std::vector<std::string> events;
};

class StripTest : public testing::Test {
protected:
    void SetUp() override {
        parent.resize(800, 400);
        const TemplateItem item{1044, ControlKind::Custom, "", 0, 0, 400, 200, 0};
        ASSERT_TRUE(strip.CreateFromTemplate(item, &owner, &parent));
        strip.GetWidget()->setGeometry(0, 0, 600, 300);
        strip.SetSeriesCount(3);
        strip.SetTimeRange(10.0, 0.0);
    }

    QImage Paint(bool thinned = true, QSize size = QSize(600, 300)) {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        strip.Chart()->SetThinning(thinned);
        strip.Chart()->Render(p, QRectF(QPointF(0, 0), QSizeF(size)));
        return image;
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, Qt::KeyboardModifiers mods,
               Qt::MouseButtons held) {
        QWidget* w = strip.GetWidget();
        QMouseEvent e(type, QPointF(x, 150), QPointF(w->mapToGlobal(QPoint(x, 150))), button, held,
                      mods);
        QApplication::sendEvent(w, &e);
    }

    QWidget parent;
    Owner owner;
    CStrip strip;
};

int CountColor(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

} // namespace

TEST_F(StripTest, SelectorsPointsExtremesAndValueAtCursor) {
    // Series 0: steps; series 1: lines; series 2: empty.
    strip.SetCurrentSeries(0);
    strip.SetProperty87(2);
    strip.SetCurrentSeries(1);
    strip.SetProperty87(0);
    for (int i = 0; i <= 4; ++i) {
        strip.AddPoint(0, 2.0 * i, i * 10.0);
        strip.AddPoint(1, 2.0 * i, i * 10.0);
    }
    EXPECT_DOUBLE_EQ(strip.GetSeriesMin(0), 0.0);
    EXPECT_DOUBLE_EQ(strip.GetSeriesMax(1), 40.0);
    EXPECT_DOUBLE_EQ(strip.GetSeriesMax(2), 0.0);
    EXPECT_DOUBLE_EQ(strip.GetSeriesMin(2), 0.0);

    // No cursor: the middle of the window, also after 85 = 0 removed one.
    EXPECT_DOUBLE_EQ(strip.GetCursorTime(), 5.0);
    EXPECT_DOUBLE_EQ(strip.GetValueAtCursor(0), 20.0);
    EXPECT_DOUBLE_EQ(strip.GetValueAtCursor(1), 25.0);
    EXPECT_DOUBLE_EQ(strip.GetValueAtCursor(2), 0.0);
    strip.SetTimeRange(30.0, 20.0); // beyond the data: the last point
    EXPECT_DOUBLE_EQ(strip.GetValueAtCursor(1), 40.0);
    strip.SetTimeRange(-1.0, -3.0); // before: the first
    EXPECT_DOUBLE_EQ(strip.GetValueAtCursor(0), 0.0);

    // Out-of-range indices do nothing.
    strip.AddPoint(7, 1.0, 1.0);
    strip.AddPoint(-1, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(strip.GetSeriesMax(7), 0.0);
    strip.SetCurrentSeries(9);
    strip.SetSeriesColor(0xFF);
    strip.SetCurrentText(40);
    strip.SetTextCaption("nowhere");
    strip.SetCurrentYAxis(5);
    strip.SetYAxisMin(1.0);

    // NaN and infinite values are not points; clearing empties.
    strip.AddPoint(1, 11.0, std::numeric_limits<double>::quiet_NaN());
    strip.AddPoint(1, std::numeric_limits<double>::infinity(), 1.0);
    EXPECT_EQ(strip.Chart()->Model().Points(1)->Size(), 5u);
    strip.ClearSeries(1);
    EXPECT_DOUBLE_EQ(strip.GetSeriesMax(1), 0.0);

    // COLORREF 0x00BBGGRR: 0x0000FF paints red.
    strip.SetTimeRange(10.0, 0.0);
    strip.SetCurrentSeries(0);
    strip.SetSeriesColor(0x0000FF);
    strip.SetSeriesLineWidth(2);
    strip.SetCurrentYAxis(0);
    strip.SetYAxisMin(-5);
    strip.SetYAxisMax(45);
    EXPECT_GT(CountColor(Paint(), qRgb(255, 0, 0)), 100);
}

TEST_F(StripTest, MouseEventsReachTheOwnerInOrder) {
    // A press places the cursor first, so the page reads the press time.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 300, Qt::ShiftModifier | Qt::ControlModifier,
          Qt::LeftButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, 350, Qt::NoModifier, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 360, Qt::ShiftModifier, Qt::NoButton);
    ASSERT_EQ(owner.events.size(), 5u);
    const double t300 = TimeAtX(strip.Chart()->Model(), QRectF(0, 0, 600, 300), 300);
    EXPECT_EQ(owner.events[0], Format("cursor %.6f", t300));
    EXPECT_EQ(owner.events[1], "down 1 3");
    EXPECT_EQ(owner.events[2].substr(0, 6), "cursor"); // the drag
    EXPECT_EQ(owner.events[3].substr(0, 6), "cursor"); // the release
    EXPECT_EQ(owner.events[4], "up 1 1");
    EXPECT_DOUBLE_EQ(strip.GetCursorTime(),
                     TimeAtX(strip.Chart()->Model(), QRectF(0, 0, 600, 300), 360));

    // A right-drag pans: one range event after the release, none from setters.
    owner.events.clear();
    const double start = strip.GetWindowStart();
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, 200, Qt::NoModifier, Qt::RightButton);
    for (int x = 210; x <= 300; x += 10)
        Mouse(QEvent::MouseMove, Qt::NoButton, x, Qt::NoModifier, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, 300, Qt::AltModifier, Qt::NoButton);
    EXPECT_LT(strip.GetWindowStart(), start);
    EXPECT_NEAR(strip.GetWindowEnd() - strip.GetWindowStart(), 10.0, 1e-9);
    std::vector<std::string> names;
    for (const auto& e : owner.events)
        names.push_back(e.substr(0, e.find(' ')));
    // The right button moves no cursor.
    EXPECT_EQ(names, (std::vector<std::string>{"down", "up", "range"}));
    EXPECT_EQ(owner.events[1], "up 2 4");

    owner.events.clear();
    strip.SetTimeRange(20.0, 10.0);
    strip.SetWindowStart(11.0);
    strip.SetTimeSpan(3.0);
    strip.SetTimePosition(15.0);
    strip.SetProperty85(0);
    strip.Redraw();
    EXPECT_TRUE(owner.events.empty());
    EXPECT_DOUBLE_EQ(strip.GetWindowStart(), 12.0);
    EXPECT_DOUBLE_EQ(strip.GetCursorTime(), 13.5);

    // A wheel notch stretches about the mouse: one range event.
    QWidget* w = strip.GetWidget();
    QWheelEvent wheel(QPointF(300, 150), QPointF(w->mapToGlobal(QPoint(300, 150))), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    EXPECT_EQ(owner.events, (std::vector<std::string>{"range"}));
    EXPECT_NEAR(strip.GetWindowEnd() - strip.GetWindowStart(), 3.0 * 0.8, 1e-9);
}

TEST_F(StripTest, AwkwardInputPaintsWithoutHarm) {
    strip.SetCurrentSeries(0);
    strip.SetSeriesColor(0x0000FF);
    strip.SetCurrentSeries(1);
    strip.SetSeriesColor(0x00FF00);
    strip.SetSeriesYAxis(3);                // beyond the axis count: not drawn
    for (double t : {5.0, 1.0, 8.0, 3.0}) { // unsorted: drawn in insertion order
        strip.AddPoint(0, t, t);
        strip.AddPoint(1, t, t);
    }
    strip.SetCurrentYAxis(0);
    strip.SetYAxisMin(4.0);
    strip.SetYAxisMax(4.0); // min >= max
    QImage image = Paint();
    EXPECT_EQ(CountColor(image, qRgb(0, 255, 0)), 0);
    strip.SetYAxisMax(-1.0);
    strip.SetYAxisMin(10.0);
    Paint();
    strip.SetTimeRange(5.0, 5.0); // zero width
    Paint();
    strip.SetTimeRange(0.0, 10.0); // inverted
    strip.SetYAxisMin(0.0);
    strip.SetYAxisMax(10.0);
    EXPECT_GT(CountColor(Paint(), qRgb(255, 0, 0)), 0);
    strip.SetYAxisGap(5.0);
    strip.SetYAxisCount(0);
    strip.SetTextObjectCount(2);
    strip.SetCurrentText(1);
    strip.SetTextX(std::numeric_limits<double>::quiet_NaN());
    strip.SetTextCaption("T\xE9xt");
    strip.SetProperty5(-1.0);
    strip.SetProperty8(std::numeric_limits<double>::infinity());
    Paint(true, QSize(1, 1));
    Paint();
    EXPECT_EQ(strip.GetValueAtCursor(0), 5.0); // the latest point at or before the middle
}

TEST_F(StripTest, ThinnedPaintMatchesEveryPointPerColumn) {
    strip.SetCurrentYAxis(0);
    strip.SetYAxisMin(-10);
    strip.SetYAxisMax(110);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> noise(40, 60);
    // Per pixel column, the thinned curve spans the rows the full one does.
    auto sameColumns = [&]() {
        const QImage thin = Paint(true), full = Paint(false);
        const QRgb red = qRgb(255, 0, 0);
        int spikeTop = 300;
        for (int x = 0; x < 600; ++x) {
            int t1 = -1, b1 = -1, t2 = -1, b2 = -1;
            for (int y = 0; y < 300; ++y) {
                if (thin.pixel(x, y) == red)
                    (t1 < 0 ? t1 : b1) = y, b1 = y;
                if (full.pixel(x, y) == red)
                    (t2 < 0 ? t2 : b2) = y, b2 = y;
            }
            EXPECT_EQ(t1 < 0, t2 < 0) << "column " << x;
            if (t1 < 0 || t2 < 0)
                continue;
            EXPECT_LE(std::abs(t1 - t2), 1) << "column " << x;
            EXPECT_LE(std::abs(b1 - b2), 1) << "column " << x;
            spikeTop = std::min(spikeTop, t1);
        }
        return spikeTop;
    };
    // Dense, and about one point per pixel column: lines, then steps.
    for (auto [n, mode] :
         {std::pair{200000, 0}, std::pair{200000, 2}, std::pair{700, 0}, std::pair{700, 2}}) {
        SCOPED_TRACE(Format("%d points, mode %d", n, mode));
        strip.ClearSeries(0);
        strip.SetCurrentSeries(0);
        strip.SetSeriesColor(0x0000FF);
        strip.SetProperty87(mode);
        for (int i = 0; i < n; ++i)
            strip.AddPoint(0, 10.0 * i / n, i == 123457 ? 100.0 : noise(rng));
        const int spikeTop = sameColumns();
        // The one-point spike to 100 reaches near the top of the axis.
        const QRectF plot = PlotRect(strip.Chart()->Model(), QRectF(0, 0, 600, 300));
        if (n > 123457) {
            EXPECT_LT(spikeTop, plot.top() + plot.height() * 0.15);
        }
    }

    // The kept columns follow points added after a paint, and a pan.
    strip.ClearSeries(0);
    strip.SetProperty87(0);
    for (int i = 0; i < 200000; ++i)
        strip.AddPoint(0, 10.0 * i / 200000, noise(rng));
    Paint();
    strip.AddPoint(0, 9.99999, 100.0);
    const QRectF plot = PlotRect(strip.Chart()->Model(), QRectF(0, 0, 600, 300));
    EXPECT_LT(sameColumns(), plot.top() + plot.height() * 0.15);
    strip.SetWindowStart(4.0);
    sameColumns();

    // The summary answers any range as a scan of every value would.
    strip.ClearSeries(0);
    for (int i = 0; i < 200000; ++i)
        strip.AddPoint(0, 10.0 * i / 200000, noise(rng));
    const ChartSeries& s = *strip.Chart()->Model().Points(0);
    std::uniform_int_distribution<std::size_t> index(0, s.Size());
    for (int k = 0; k < 400; ++k) {
        std::size_t a = index(rng), b = k < 100 ? a + std::size_t(k) : index(rng);
        if (a > b)
            std::swap(a, b);
        b = std::min(b, s.Size());
        double lo = 0, hi = 0, wantLo = INFINITY, wantHi = -INFINITY;
        for (std::size_t i = a; i < b; ++i)
            wantLo = std::min(wantLo, s.Value(i)), wantHi = std::max(wantHi, s.Value(i));
        ASSERT_EQ(s.RangeMinMax(a, b, &lo, &hi), a < b);
        if (a < b) {
            ASSERT_EQ(lo, wantLo) << a << ".." << b;
            ASSERT_EQ(hi, wantHi) << a << ".." << b;
        }
    }
}

TEST_F(StripTest, PrintChartPaintsOnlyItsInchesOfTheDevice) {
    strip.SetCurrentSeries(0);
    strip.SetSeriesFill(true);
    strip.AddPoint(0, -5.0, 50.0);
    strip.AddPoint(0, 15.0, 80.0);
    strip.SetTextObjectCount(1);
    strip.SetCurrentText(0);
    strip.SetTextX(0.99);
    strip.SetTextCaption("a long caption past the right edge");
    QImage image(1200, 800, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937); // 100 dpi
    image.setDotsPerMeterY(3937);
    image.fill(Qt::green);
    {
        QPainter p(&image);
        strip.PrintChart(&p, 1.0, 1.0, 9.0, 5.0);
    }
    int inside = 0;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1200; ++x) {
            const bool in = x >= 100 && x < 1000 && y >= 100 && y < 600;
            if (!in)
                ASSERT_EQ(image.pixel(x, y), qRgb(0, 255, 0)) << x << "," << y;
            else
                inside += image.pixel(x, y) != qRgb(0, 255, 0);
        }
    EXPECT_EQ(inside, 900 * 500);
}

TEST(OleDateTest, FieldsFormattingAndEquality) {
    COleDateTime t(2010, 1, 2, 8, 0, 0);
    EXPECT_DOUBLE_EQ(t.GetOleDate(), 40180.0 + 1.0 / 3);
    EXPECT_EQ(t.Format("%I:%M:%S %p %#d-%b-%Y"), "08:00:00 AM 2-Jan-2010");
    EXPECT_EQ(COleDateTime(40180.75).Format("%#I %p %A %B %j %y"), "6 PM Saturday January 002 10");
    EXPECT_EQ(COleDateTime(40180.5 - 0.4 / 86400).Format("%H:%M:%S"), "12:00:00"); // rounded
    EXPECT_EQ(COleDateTime(0.0).Format("%d/%m/%Y"), "30/12/1899");
    EXPECT_EQ(COleDateTime(-1.25).Format("%d/%m/%Y %H:%M"), "29/12/1899 06:00");
    EXPECT_EQ(COleDateTime(2000, 2, 29, 0, 0, 0).GetDayOfWeek(), 3); // a Tuesday
    EXPECT_FALSE(COleDateTime(1999, 2, 29, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(2000, 1, 1, 24, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(std::numeric_limits<double>::quiet_NaN()).IsValid());
    EXPECT_TRUE(t == t + COleDateTimeSpan(0.49 / 86400));
    EXPECT_FALSE(t == t + COleDateTimeSpan(0.51 / 86400));
    EXPECT_EQ((COleDateTime(-1.25) + COleDateTimeSpan(0.5)).Format("%d %H"), "29 18");
    EXPECT_EQ((COleDateTime(-1.25) + COleDateTimeSpan(1.0)).Format("%d %H"), "30 06");
}
