// Resource ids of the View Plot page.
#pragma once

constexpr int IDD_PLOT = 133;

constexpr int IDC_PLOT_STATIC = -1;
constexpr int IDC_PLOT_CHART = 1044;
constexpr int IDC_ZOOM_IN = 1045;
constexpr int IDC_ZOOM_OUT = 1046;
constexpr int IDC_PRINT = 1047;
constexpr int IDC_FILL = 1048;
constexpr int IDC_POINTS = 1049;
constexpr int IDC_ZOOM_LEVEL = 1050;
constexpr int IDC_AUTOSCALE = 1051;
constexpr int IDC_PLOT_MESSAGE = 1052;
constexpr int IDC_PLOT_FILE = 1053;
constexpr int IDC_PROPERTIES = 1054;
constexpr int IDC_METRIC = 1056;
constexpr int IDC_IMPERIAL = 1057;
constexpr int IDC_COLLECTION_PERIOD = 1058;
constexpr int IDC_COLLECTION_LABEL = 1059;
constexpr int IDC_DMY = 1060;
constexpr int IDC_MDY = 1061;
constexpr int IDC_EDIT_VIEW = 1137;
constexpr int IDC_HOLD_RAIN = 1139;
constexpr int IDC_HOLD_RIVER = 1140;
constexpr int IDC_HOLD_BVINT = 1142;
constexpr int IDC_HOLD_BVEXT = 1143;
constexpr int IDC_HOLD_TEMP = 1144;
constexpr int IDC_PLOT_SEPARATELY = 1146;
