// The View Plot page plotting dumps written by the test: building, holding,
// endings, zoom, readouts, axes, resizing, printing and the rain total.
#include <gtest/gtest.h>

#include <QPrinter>
#include <fstream>
#include <sstream>

#include "framework/PrintDialog.h"
#include "tests/plot/PlotPageFixture.h"

namespace {

const char kRain[] = "DUR\r\r\nSite RAIN 0.2\r\n00:00:00 02/01/10\r\n08:00:00\r\n08:30:00\r\n"
                     "00:00:00 03/01/10\r\n07:00:00\r\n";
const char kRiver[] = "durv/\r\nignored\r\nSite R\r\n00:00:00 01/01/10\r\n00:00:00 1.2\r\n"
                      "12:00:00 3.4\r\n";
const char kBattery[] = "DUBV\r\nSite B\r\n00:00:00 05/01/10\r\n01:00:00 5.2 13.2\r\n"
                        "02:00:00 5.1 13.1\r\n";

class PlotDraw : public PlotPageFixture {
protected:
    std::string Text(int i) { return M().Text(i)->caption; }
    std::size_t Points(int s) { return M().Points(s)->Size(); }
    bool Enabled(int series) { return P().HoldBox(series).IsWindowEnabled(); }
    std::string Message() { return P().m_stcMessage.GetWindowText(); }
    double Middle() { return (M().windowStart + M().windowEnd) / 2; }
    double Width() { return M().windowEnd - M().windowStart; }
    // The chart places its cursor, then reports it.
    void Cursor(double t) {
        M().cursorShown = true;
        M().cursorTime = t;
        P().OnChartCursor(t);
    }
};

} // namespace

TEST_F(PlotDraw, BuildsEveryKindHoldsSeriesAndEnds) {
    Start({{"Durn001.plt", kRain}, {"Durv001.plt", kRiver}, {"Dubv001.plt", kBattery}});
    h.ChooseTab(1);
    TestEnv::Advance(150);
    // The last entry, a river dump with its title on line 3.
    EXPECT_EQ(Text(0), "River Plot :  Site R");
    EXPECT_TRUE(Enabled(1));
    EXPECT_FALSE(Enabled(0) || Enabled(2));
    EXPECT_EQ(Points(1), 2u);
    EXPECT_EQ(M().Style(1)->color, 0xFF0000u);
    EXPECT_TRUE(P().m_chart.IsWindowVisible());
    EXPECT_FALSE(P().m_stcMessage.IsWindowVisible());
    EXPECT_TRUE(P().m_chkFill.IsWindowVisible() && !P().m_cboCollectionPeriod.IsWindowVisible());
    // Shared axis: river 1.2 to 3.4 gives -0.5 .. 3.9 with a placeholder rain point.
    EXPECT_DOUBLE_EQ(M().Axis(0)->min, -0.5);
    EXPECT_DOUBLE_EQ(M().Axis(0)->max, 3.9);
    EXPECT_EQ(Points(0), 1u);

    // A rain dump, then a river dump while "Rain" is ticked: both stay, the
    // window covers both files.
    Plot("Durn001.plt");
    EXPECT_TRUE(Enabled(0) && !Enabled(1));
    EXPECT_EQ(M().Style(0)->mode, 2);
    EXPECT_EQ(Points(0), 3u);
    EXPECT_TRUE(P().m_chkAutoScale.IsWindowVisible() && !P().m_chkFill.IsWindowVisible());
    EXPECT_EQ(P().m_strPlotPath, h.env.DataFolder() + "/Durn001.plt");
    P().m_chkHoldRain.SetCheck(BST_CHECKED);
    Plot("Durv001.plt");
    EXPECT_TRUE(Enabled(0) && Enabled(1));
    EXPECT_EQ(Points(0), 3u);
    EXPECT_NEAR(P().m_dMinTime, Ole(2010, 1, 1), 1e-9);
    EXPECT_NEAR(P().m_dMaxTime, Ole(2010, 1, 4), 1e-9);
    EXPECT_NEAR(Middle(), Ole(2010, 1, 2, 12), 1e-6);
    EXPECT_NEAR(Width(), 1.02 * 3, 1e-6);
    // A rain dump while "Rain" is ticked replaces the rain.
    Plot("Durn001.plt");
    EXPECT_EQ(Points(0), 3u);

    // Period change keeps the window and the span; AutoScale scales axis 0.
    const double start = M().windowStart, span = P().m_dSpan;
    P().m_chkAutoScale.SetCheck(BST_CHECKED);
    P().m_cboCollectionPeriod.SetCurSel(1);
    Plot("Durn001.plt", 0);
    EXPECT_DOUBLE_EQ(M().windowStart, start);
    EXPECT_DOUBLE_EQ(P().m_dSpan, span);
    EXPECT_DOUBLE_EQ(M().Axis(0)->min, -2.5);
    EXPECT_EQ(Points(0), 5u); // the first period, tips, a dry run, tips, the end

    // With "Plot Separately" and a held river, AutoScale scales the rain's axis.
    P().m_chkHoldRiver.SetCheck(BST_CHECKED);
    Plot("Durv001.plt");
    P().m_chkPlotSeparately.SetCheck(BST_CHECKED);
    P().ArrangeYAxes();
    const ChartAxis river = *M().Axis(0);
    Plot("Durn001.plt", 0);
    EXPECT_DOUBLE_EQ(M().Axis(0)->min, river.min);
    EXPECT_DOUBLE_EQ(M().Axis(0)->max, river.max);
    EXPECT_DOUBLE_EQ(M().Axis(1)->min, -2.5);

    // Nothing ticked: a battery dump enables only its two boxes.
    for (int s = 0; s <= 4; ++s)
        P().HoldBox(s).SetCheck(BST_UNCHECKED);
    P().m_chkPlotSeparately.SetCheck(BST_UNCHECKED);
    Plot("Dubv001.plt");
    EXPECT_TRUE(Enabled(2) && Enabled(3));
    EXPECT_FALSE(Enabled(0) || Enabled(1) || Enabled(4));
    EXPECT_TRUE(P().m_chkPoints.IsWindowVisible() && !P().m_chkAutoScale.IsWindowVisible());
    EXPECT_EQ(Points(5), 0u);

    // Endings, each leaving the chart hidden.
    struct Ending {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Ending endings[] = {
        {"Durv010.plt", "durv\r\nS\r\n00:00:00 01/01/10\r\n01:00:00 1.0\r\n00:00:00 01/13/10\r\n",
         "Illegal date, try swapping DMY to MDY !"},
        {"Durv011.plt", "durv\r\nS\r\n", "No Plot Data in File!"},
        {"Durv012.plt", "durv\r\nS\r\n01:00:00 1.0\r\n00:00:00 29/12/09\r\n01:00:00 1.0\r\n",
         "Bad Plot Data!"},
        {"Durv013.plt", "durv\r\nS\r\n01:00:00 1.0\r\n00:00:00 28/12/09\r\n01:00:00 1.0\r\n", ""},
        {"Missing.plt", "", "No Plot File Found!"},
    };
    for (const Ending& e : endings) {
        if (!e.bytes.empty())
            h.WriteDataFile(e.name, e.bytes);
        Plot(e.name);
        EXPECT_EQ(P().m_chart.IsWindowVisible(), *e.message == '\0') << e.name;
        if (*e.message) {
            EXPECT_EQ(Message(), e.message) << e.name;
        }
    }
    Plot("Durv010.plt");
    EXPECT_EQ(Points(1), 1u); // the points read before the illegal date stay

    // All parameters enable every box; a file matching no word shows its title
    // line and no data.
    h.WriteDataFile("Duall001.plt", "duall\r\nSite A\r\n1,01/02/10,10:00:00,0.5\r\n"
                                    "2,01/02/10,10:15:00,1.25\r\n5,01/02/10,10:15:00,-3\r\n");
    Plot("Duall001.plt");
    EXPECT_EQ(Text(0), "Plot of All Parameters :  Site A");
    for (int series = 0; series <= 4; ++series)
        EXPECT_TRUE(Enabled(series)) << series;
    EXPECT_EQ(M().Style(0)->mode, 2);
    EXPECT_EQ(Points(4), 1u);
    h.WriteDataFile("Du002.plt", "hello\r\nJust a title\r\n01:00:00 1.0\r\n");
    Plot("Du002.plt");
    EXPECT_EQ(Text(0), "Just a title");
    for (int series = 0; series <= 4; ++series)
        EXPECT_FALSE(Enabled(series)) << series;
}

TEST_F(PlotDraw, ZoomReadoutsAxesAndSize) {
    Start({{"Durv002.plt", RiverDays(20)}});
    Plot("Durv002.plt");
    const double middle = (P().m_dMinTime + P().m_dMaxTime) / 2;
    const char* in[] = {"1 Week", "1 Day", "2 Hours", "10 Mins", "10 Mins"};
    for (const char* caption : in) {
        P().OnZoomIn();
        EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), caption);
        EXPECT_NEAR(Middle(), middle, 1e-6); // no cursor: the window's middle
        EXPECT_NEAR(Width(), 1.02 * P().m_dSpan, 1e-9);
    }
    const char* out[] = {"2 Hours", "1 Day", "1 Week", "Zoom All"};
    for (const char* caption : out) {
        P().OnZoomOut();
        EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), caption);
    }
    EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), out[3]);
    EXPECT_NEAR(Middle(), middle, 1e-6);
    P().OnZoomIn();
    M().windowEnd = M().windowStart + 1.04 * P().m_dSpan;
    P().OnChartRangeChanged();
    EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), "1 Week");
    M().windowEnd = M().windowStart + 1.06 * P().m_dSpan;
    P().OnChartRangeChanged();
    EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), "");

    // Readouts of the present series only, in both unit systems.
    Cursor(Ole(2010, 3, 2, 8));
    EXPECT_EQ(Text(9), " 1.500m");
    EXPECT_EQ(Text(8), "");
    EXPECT_EQ(Text(13), "08:00:00 AM 2-Mar-2010");
    P().OnImperial();
    EXPECT_EQ(Text(20), "ft");
    EXPECT_EQ(Text(19), "");
    Cursor(Ole(2010, 3, 2, 18));
    EXPECT_EQ(Text(9), " 1.500ft");
    EXPECT_EQ(Text(13), "06:00:00 PM 2-Mar-2010");
    // Without rain a Shift-press marks nothing.
    P().OnChartMouseDown(1, 1, 0, 0);
    EXPECT_EQ(P().m_bStartSet, 0);

    // Separate axes: temperature 0, river 1, rain 2 from -0.9; labels spread.
    h.WriteDataFile("Durn002.plt", kRain);
    h.WriteDataFile("Dutmp002.plt", "dutmp\r\nS\r\n00:00:00 02/01/10\r\n01:00:00 -3.0\r\n");
    P().m_chkHoldRiver.SetCheck(BST_CHECKED);
    Plot("Durn002.plt");
    P().m_chkHoldRain.SetCheck(BST_CHECKED);
    Plot("Dutmp002.plt");
    P().m_chkPlotSeparately.SetCheck(BST_CHECKED);
    P().ArrangeYAxes();
    P().PlaceUnitLabels();
    EXPECT_EQ(M().AxisCount(), 3);
    EXPECT_EQ(M().Style(4)->yAxis, 0);
    EXPECT_EQ(M().Style(1)->yAxis, 1);
    EXPECT_EQ(M().Style(0)->yAxis, 2);
    EXPECT_DOUBLE_EQ(M().Axis(0)->min, -3.5);
    EXPECT_DOUBLE_EQ(M().Axis(2)->min, -0.9);
    EXPECT_NEAR(M().Text(22)->y, 0.08, 1e-9);
    EXPECT_NEAR(M().Text(20)->y, 0.38, 1e-9);
    EXPECT_NEAR(M().Text(19)->y, 0.68, 1e-9);
    EXPECT_EQ(Text(22), "oF");

    // Start and End move right as the page widens, never past the width
    // rule, and stop short of the bracket (PlotLayout checks the ink).
    double last = 0.0;
    for (int cx : {400, 720, 2560, 3840, 1320}) {
        P().OnSize(0, cx, 500);
        const double x = M().Text(14)->x;
        EXPECT_EQ(M().Text(15)->x, x) << cx;
        EXPECT_LE(x, cx > 720 ? 0.68 + (cx - 720) / 6000.0 : 0.68) << cx;
        if (cx != 1320) {
            EXPECT_GT(x, last) << cx;
        }
        last = x;
    }
    EXPECT_LT(last, 0.78);
    EXPECT_EQ(P().m_chart.GetRectInParent().Width(), 1300);
}

TEST_F(PlotDraw, RainTotalBetweenShiftClicks) {
    // A title without a blank: the plot and the count both start at 1.0.
    const std::string rain = "DUR\r\r\nGauge\r\n00:00:00 02/01/10\r\n08:00:00\r\n09:00:00\r\n"
                             "12:00:00 02/01/10 0.2/01 Increment Set\r\n12:00:01\r\n13:00:00\r\n"
                             "14:00:00\r\n";
    Start({{"Durn005.plt", rain}});
    Plot("Durn005.plt");
    auto total = [&](double from, double to, short shift = 1) {
        P().OnChartCursor(from);
        P().OnChartMouseDown(1, shift, 0, 0);
        P().OnChartCursor(to);
        P().OnChartMouseUp(1, shift, 0, 0);
        return Text(16);
    };
    // No number in the title: plotted, and the message line says so.
    EXPECT_TRUE(P().m_chart.IsWindowVisible());
    EXPECT_TRUE(P().m_stcMessage.IsWindowVisible());
    EXPECT_EQ(Message(), "Bucket size not found in the title; 1.0 used");
    const double a = Ole(2010, 1, 2, 12), b = Ole(2010, 1, 2, 15);
    EXPECT_EQ(total(a, b), "    0.6");
    EXPECT_EQ(Text(14), "Start 12:00:00 PM 2-Jan-2010");
    EXPECT_EQ(Text(15), "End  03:00:00 PM 2-Jan-2010");
    EXPECT_EQ(Text(17) + Text(18), "\\/");
    EXPECT_EQ(total(b, a), "    0.6");
    EXPECT_EQ(total(a, a), "    0.0");
    EXPECT_EQ(total(Ole(2010, 1, 2, 7), b), "    2.6");
    // The same under another collection period.
    P().m_cboCollectionPeriod.SetCurSel(4);
    Plot("Durn005.plt", 0);
    EXPECT_EQ(total(Ole(2010, 1, 2, 7), b), "    2.6");
    // A marker follows the cursor backwards from the start.
    P().OnChartCursor(b);
    P().OnChartMouseDown(1, 1, 0, 0);
    P().OnChartCursor(a);
    ASSERT_EQ(Points(5), 2u);
    EXPECT_DOUBLE_EQ(M().Points(5)->Time(1), a);
    EXPECT_DOUBLE_EQ(M().Points(5)->Value(0), -0.2);
    // Shift with Ctrl neither ends nor marks.
    P().OnChartMouseUp(1, 3, 0, 0);
    EXPECT_EQ(P().m_bStartSet, 1);
    EXPECT_EQ(Text(16), "");
    // A file deleted after plotting.
    std::remove((h.env.DataFolder() + "/Durn005.plt").c_str());
    P().OnChartMouseUp(1, 1, 0, 0);
    EXPECT_EQ(Text(16), "???");
    // No rain present: nothing happens.
    h.WriteDataFile("Durv005.plt", kRiver);
    Plot("Durv005.plt");
    P().OnChartMouseDown(1, 1, 0, 0);
    EXPECT_EQ(P().m_bStartSet, 0);
}

TEST_F(PlotDraw, FreshPlotOfAnotherFileClearsTheLastFilesTexts) {
    Start({{"Durn001.plt", kRain},
           {"Durn002.plt", "dur\r\nSite Q 0.5\r\n00:00:00 04/05/11\r\n10:00:00\r\n"},
           {"Durv004.plt", RiverDays(4)}});
    auto texts = [&] {
        std::vector<std::string> t{P().m_stcZoomLevel.GetWindowText()};
        for (int i = 8; i <= 18; ++i)
            t.push_back(Text(i));
        return t;
    };
    auto markTotal = [&](double from, double to) {
        Cursor(from);
        P().OnChartMouseDown(1, 1, 0, 0);
        Cursor(to);
        P().OnChartMouseUp(1, 1, 0, 0);
    };
    // A rain total, readouts and a zoom on one file.
    Plot("Durn001.plt");
    EXPECT_EQ(P().m_stcZoomLevel.GetWindowText(), "Zoom All");
    EXPECT_FALSE(P().m_stcMessage.IsWindowVisible());
    markTotal(Ole(2010, 1, 2, 7), Ole(2010, 1, 3, 12));
    P().OnZoomIn();
    const std::vector<std::string> shown = texts();
    EXPECT_EQ(shown[0], "1 Day");
    EXPECT_EQ(Text(16), "    0.6");
    EXPECT_EQ(Text(8), "  0.2mm");

    // The same file again, fresh or keeping the window: all stay.
    Plot("Durn001.plt");
    EXPECT_EQ(texts(), shown);
    Plot("Durn001.plt", 0);
    EXPECT_EQ(texts(), shown);
    P().m_cboPlotFile.UserSelect(P().FindPlotFile("Durn001.plt"));
    TestEnv::Advance(100);
    EXPECT_EQ(texts(), shown);

    // Another file while rain is held: the held rain's total and readout stay.
    P().m_chkHoldRain.SetCheck(BST_CHECKED);
    Plot("Durv004.plt");
    std::vector<std::string> held = shown;
    held[0] = "Zoom All";
    EXPECT_EQ(texts(), held);

    // Another rain file: nothing of the last file is left; the caption names
    // the new window, one day of rain.
    P().m_chkHoldRain.SetCheck(BST_UNCHECKED);
    Plot("Durn002.plt");
    std::vector<std::string> blank(12, "");
    blank[0] = "1 Day";
    EXPECT_EQ(texts(), blank);

    // A total on rain, then a river file: blank, and the caption "Zoom All".
    markTotal(Ole(2011, 5, 4), Ole(2011, 5, 5));
    EXPECT_EQ(Text(16), "    0.5");
    P().m_chkHoldRain.SetCheck(BST_UNCHECKED);
    Plot("Durv004.plt");
    blank[0] = "Zoom All";
    EXPECT_EQ(texts(), blank);
}

TEST_F(PlotDraw, ShiftDragOnTheChartTotalsTheRain) {
    Start({{"Durn001.plt", kRain}});
    Plot("Durn001.plt");
    P().m_chart.Chart()->resize(700, 400);
    // Press just inside the plot area's left edge, drag, release near its right.
    ShiftMouse(QEvent::MouseButtonPress, 0.08 * 700 + 2, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(P().m_bStartSet, 1);
    EXPECT_EQ(Text(14).rfind("Start ", 0), 0u);
    ShiftMouse(QEvent::MouseMove, 400, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(Points(5), 2u);
    EXPECT_EQ(Text(15).rfind("End  ", 0), 0u);
    ShiftMouse(QEvent::MouseButtonRelease, 0.98 * 700 - 2, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(P().m_bStartSet, 0);
    EXPECT_EQ(Text(16), "    0.6");
    EXPECT_LT(P().m_dStartTime, Ole(2010, 1, 2, 8));
    EXPECT_GT(P().m_dEndTime, Ole(2010, 1, 3, 7));
}

TEST_F(PlotDraw, PrintsOneLandscapePageOrWarns) {
    Start({{"Durv001.plt", kRiver}});
    Plot("Durv001.plt");
    const std::string pdf = h.env.Root() + "/plot.pdf";
    h.modal.ExpectPrintDialog([&](CPrintDialog& dialog) {
        dialog.Printer().setOutputFormat(QPrinter::PdfFormat);
        dialog.Printer().setOutputFileName(QString::fromStdString(pdf));
        return IDOK;
    });
    P().OnPrint();
    std::ifstream in(pdf, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    ASSERT_FALSE(text.empty());
    std::size_t pages = 0;
    for (std::size_t at = 0; (at = text.find("/Type /Page\n", at)) != std::string::npos; ++at)
        ++pages;
    EXPECT_EQ(pages, 1u);
    const std::size_t box = text.find("/MediaBox [");
    ASSERT_NE(box, std::string::npos);
    double x0, y0, x1, y1;
    ASSERT_EQ(std::sscanf(text.c_str() + box, "/MediaBox [%lf %lf %lf %lf", &x0, &y0, &x1, &y1), 4);
    EXPECT_GT(x1 - x0, y1 - y0);
    // The title, in UTF-16.
    std::string title;
    for (char c : std::string("PlotChart"))
        title += std::string(1, '\0') + c;
    EXPECT_NE(text.find(title), std::string::npos);

    // Cancel prints nothing; a device that cannot begin gives the warning.
    const std::string none = h.env.Root() + "/none.pdf";
    h.modal.ExpectPrintDialog([&](CPrintDialog& dialog) {
        dialog.Printer().setOutputFileName(QString::fromStdString(none));
        return IDCANCEL;
    });
    P().OnPrint();
    EXPECT_FALSE(std::ifstream(none).good());
    h.modal.ExpectPrintDialog([&](CPrintDialog& dialog) {
        dialog.Printer().setOutputFormat(QPrinter::PdfFormat);
        dialog.Printer().setOutputFileName(QString::fromStdString(h.env.Root() + "/no/such.pdf"));
        return IDOK;
    });
    h.modal.ExpectMessage("Could not print the plot!", "Warning");
    P().OnPrint();
    h.modal.VerifyDone();
}
