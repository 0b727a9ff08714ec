// Resource ids of the Schedule page and the Edit Schedule dialog.
#pragma once

// Schedule page (template 135).
constexpr int IDD_SCHEDULE = 135;
constexpr int IDC_SCHEDULE_CALL_NOW = 1094;
constexpr int IDC_SCHEDULE_LIST = 1101;
constexpr int IDC_SCHEDULE_EDIT_HINT = 1124;
constexpr int IDC_SCHEDULE_CALL_HINT = 1125;
constexpr int IDC_SCHEDULE_CLOCK = 1128;
constexpr int IDC_SCHEDULE_VIEW_LOG = 1133;
constexpr int IDC_SCHEDULE_DISABLE_AUTOPOLL = 1134;
