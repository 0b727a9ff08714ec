// The unit system and the date order: the four radio buttons and
// "units.cfg".
#include "framework/Files.h"
#include "plot/DialogPlot.h"
#include "plot/UnitsConfig.h"

std::string CDialogPlot::UnitsPath() const {
    return JoinPath(m_szDataFolder, "units.cfg");
}

void CDialogPlot::SaveUnitsConfig(bool synced) {
    UnitsConfig units;
    units.imperial = m_radMetric.GetCheck() != BST_CHECKED;
    units.dayFirst = m_radDmy.GetCheck() == BST_CHECKED;
    // Never a message: a file that cannot be written keeps the defaults.
    WriteUnitsConfig(UnitsPath(), units, synced);
}

void CDialogPlot::LoadUnitsConfig() {
    const UnitsConfig units = ReadUnitsConfig(UnitsPath());
    m_radImperial.SetCheck(units.imperial ? BST_CHECKED : BST_UNCHECKED);
    m_radMetric.SetCheck(units.imperial ? BST_UNCHECKED : BST_CHECKED);
    m_radDmy.SetCheck(units.dayFirst ? BST_CHECKED : BST_UNCHECKED);
    m_radMdy.SetCheck(units.dayFirst ? BST_UNCHECKED : BST_CHECKED);
    m_bDayFirst = units.dayFirst ? 1 : 0;
    // Unsynced: what was read, or the defaults, is written again if a power
    // cut loses it.
    SaveUnitsConfig(false);
}

void CDialogPlot::OnDmy() {
    m_radMdy.SetCheck(BST_UNCHECKED);
    m_radDmy.SetCheck(BST_CHECKED);
    m_bDayFirst = 1;
    m_chart.Redraw();
    SaveUnitsConfig();
    SetTimer(IDT_PLOT_REPLOT, 100);
}

void CDialogPlot::OnMdy() {
    m_radDmy.SetCheck(BST_UNCHECKED);
    m_radMdy.SetCheck(BST_CHECKED);
    m_bDayFirst = 0;
    m_chart.Redraw();
    SaveUnitsConfig();
    SetTimer(IDT_PLOT_REPLOT, 100);
}

void CDialogPlot::OnMetric() {
    m_radImperial.SetCheck(BST_UNCHECKED);
    m_radMetric.SetCheck(BST_CHECKED);
    SetUnitCaptions();
    m_chart.Redraw();
    OnChartCursor(m_chart.GetCursorTime());
    SaveUnitsConfig();
}

void CDialogPlot::OnImperial() {
    m_radMetric.SetCheck(BST_UNCHECKED);
    m_radImperial.SetCheck(BST_CHECKED);
    SetUnitCaptions();
    m_chart.Redraw();
    OnChartCursor(m_chart.GetCursorTime());
    SaveUnitsConfig();
}
