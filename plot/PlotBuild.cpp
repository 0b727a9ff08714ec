// Plotting a dump file.
#include "plot/DialogPlot.h"

void CDialogPlot::ProcessPlotFile(const std::string& name) {
    // Until plotting is built: the caller has set m_bFreshPlot.
    m_strPlotFile = name;
}
