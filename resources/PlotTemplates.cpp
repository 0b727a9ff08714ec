// Dialog templates of the View Plot page.
#include "framework/Template.h"
#include "resources/ResourcePlot.h"
#include "resources/TemplateSets.h"

void AddPlotTemplates(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    t[IDD_PLOT] = DialogTemplate{
        IDD_PLOT,
        "",
        707,
        280,
        {
            {1, K::DefPushButton, "OK", 293, 259, 50, 14, TS_HIDDEN | TS_DISABLED},
            {2, K::PushButton, "Cancel", 650, 259, 50, 14, TS_HIDDEN | TS_DISABLED},
            {IDC_PLOT_FILE, K::ComboDropDown, "", 7, 2, 77, 258, TS_SORT | TS_VSCROLL},
            {IDC_DMY, K::RadioButton, "D/M/Y", 90, 0, 38, 9, 0},
            {IDC_MDY, K::RadioButton, "M/D/Y", 90, 11, 39, 9, 0},
            {IDC_METRIC, K::RadioButton, "Metric", 138, 0, 38, 9, 0},
            {IDC_IMPERIAL, K::RadioButton, "Imperial", 138, 11, 40, 9, 0},
            {IDC_COLLECTION_LABEL, K::Static, "Collection Period", 178, 0, 60, 11,
             TS_CENTER | TS_HIDDEN},
            {IDC_COLLECTION_PERIOD, K::ComboDropList, "", 186, 10, 43, 84, TS_HIDDEN},
            {IDC_FILL, K::CheckBox, "Fill", 248, 0, 31, 8, 0},
            {IDC_AUTOSCALE, K::CheckBox, "AutoScale", 248, 9, 46, 10, TS_HIDDEN},
            {IDC_POINTS, K::CheckBox, "Points", 248, 19, 34, 10, 0},
            {IDC_PLOT_SEPARATELY, K::CheckBox, "Plot Separately", 248, 29, 68, 10, 0},
            {IDC_ZOOM_OUT, K::PushButton, "Zoom Out", 314, 1, 41, 12, 0},
            {IDC_ZOOM_IN, K::PushButton, "Zoom In", 359, 1, 41, 12, 0},
            {IDC_ZOOM_LEVEL, K::Static, "ZoomLevel", 316, 18, 82, 9, TS_CENTER},
            {IDC_PROPERTIES, K::PushButton, "Properties", 369, 17, 40, 10, TS_HIDDEN},
            {IDC_PRINT, K::PushButton, "Print...", 411, 0, 50, 14, 0},
            {IDC_EDIT_VIEW, K::PushButton, "Edit / View", 411, 24, 50, 15, 0},
            {IDC_PLOT_STATIC, K::GroupBox, "", 7, 20, 222, 19, 0},
            {IDC_PLOT_STATIC, K::Static, "Hold :", 13, 28, 20, 9, 0},
            {IDC_HOLD_RAIN, K::CheckBox, "Rain", 37, 27, 34, 10, 0},
            {IDC_HOLD_RIVER, K::CheckBox, "River", 71, 27, 34, 10, 0},
            {IDC_HOLD_BVINT, K::CheckBox, "BV Int", 107, 27, 34, 10, 0},
            {IDC_HOLD_BVEXT, K::CheckBox, "BV Ext", 147, 27, 34, 10, 0},
            {IDC_HOLD_TEMP, K::CheckBox, "Temp", 191, 27, 34, 10, 0},
            {IDC_PLOT_CHART, K::Custom, "", 7, 42, 454, 225, 0},
            {IDC_PLOT_MESSAGE, K::Static, "Waiting", 151, 134, 193, 15, TS_CENTER},
        }};
}
