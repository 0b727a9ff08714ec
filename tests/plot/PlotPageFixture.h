// The View Plot page in a started main window, plotting dumps the test
// writes into the data folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <initializer_list>
#include <string>
#include <utility>

#include "framework/Text.h"
#include "plot/DialogPlot.h"
#include "plot/PlotTime.h"
#include "tests/support/MainWindowHarness.h"

inline double Ole(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return PlotTimeToOle(MakePlotTime(y, mo, d, h, mi, s));
}

// A river dump: a date line and a noon reading for each of `days` + 1 days.
inline std::string RiverDays(int days, PlotSeconds first = MakePlotTime(2010, 3, 1, 0, 0, 0)) {
    std::string dump = "durv\r\nSite Z\r\n";
    for (int d = 0; d <= days; ++d) {
        const PlotFields f = PlotTimeFields(first + d * 86400LL);
        dump += Format("00:00:00 %02d/%02d/%02d\r\n12:00:00 1.5\r\n", f.day, f.month, f.year % 100);
    }
    return dump;
}

class PlotPageFixture : public ::testing::Test {
protected:
    void Start(std::initializer_list<std::pair<const char*, std::string>> files) {
        for (const auto& f : files)
            h.WriteDataFile(f.first, f.second);
        h.Start();
        TestEnv::Advance(300);
    }
    CDialogPlot& P() { return *h.Main().GetPlotPage(); }
    ChartModel& M() { return P().m_chart.Chart()->Model(); }
    void Plot(const char* name, int fresh = 1) {
        P().m_bFreshPlot = fresh;
        P().ProcessPlotFile(name);
    }
    // A mouse event on the chart at (x, 200), Shift held.
    void ShiftMouse(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons held) {
        QWidget* chart = P().m_chart.Chart();
        QMouseEvent event(type, QPointF(x, 200), chart->mapToGlobal(QPointF(x, 200)), button, held,
                          Qt::ShiftModifier);
        QApplication::sendEvent(chart, &event);
    }

    MainWindowHarness h;
};
