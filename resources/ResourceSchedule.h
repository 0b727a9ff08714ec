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

// --- Edit Schedule dialog ---------------------------------------------------
constexpr int IDD_EDIT_SCHEDULE = 144;
constexpr int IDC_ES_SAVE_TEMPLATE = 3;
constexpr int IDC_ES_USE_TEMPLATE = 4;
constexpr int IDC_ES_SITE_GROUP = 1121;
constexpr int IDC_ES_NAME = 1091;
constexpr int IDC_ES_PHONE = 1092;
constexpr int IDC_ES_DIRECT = 1141;
constexpr int IDC_ES_RETRIES = 1129;
constexpr int IDC_ES_START_TIME = 1122;
constexpr int IDC_ES_START_DATE = 1127;
constexpr int IDC_ES_INTERVAL = 1096;
constexpr int IDC_ES_UNIT_MIN = 1120;
constexpr int IDC_ES_UNIT_HOUR = 1097;
constexpr int IDC_ES_UNIT_DAYS = 1098;
constexpr int IDC_ES_CMD1 = 1102;
constexpr int IDC_ES_CMD2 = 1103;
constexpr int IDC_ES_CMD3 = 1104;
constexpr int IDC_ES_FILE1 = 1105;
constexpr int IDC_ES_FILE2 = 1106;
constexpr int IDC_ES_FILE3 = 1107;
constexpr int IDC_ES_APPEND1 = 1114;
constexpr int IDC_ES_APPEND2 = 1115;
constexpr int IDC_ES_APPEND3 = 1116;
constexpr int IDC_ES_CMD1_RAW = 1099;
constexpr int IDC_ES_CMD1_CSV1 = 1100;
constexpr int IDC_ES_CMD1_CSV2 = 1101;
constexpr int IDC_ES_CMD1_TIDEDA = 1117;
constexpr int IDC_ES_CMD2_RAW = 1108;
constexpr int IDC_ES_CMD2_CSV1 = 1109;
constexpr int IDC_ES_CMD2_CSV2 = 1110;
constexpr int IDC_ES_CMD2_TIDEDA = 1118;
constexpr int IDC_ES_CMD3_RAW = 1111;
constexpr int IDC_ES_CMD3_CSV1 = 1112;
constexpr int IDC_ES_CMD3_CSV2 = 1113;
constexpr int IDC_ES_CMD3_TIDEDA = 1119;
constexpr int IDC_ES_SAVE_EVENT1 = 1123;
constexpr int IDC_ES_SAVE_EVENT2 = 1124;
constexpr int IDC_ES_SAVE_EVENT3 = 1125;
constexpr int IDC_ES_EVENT1 = 1131;
constexpr int IDC_ES_EVENT2 = 1132;
constexpr int IDC_ES_EVENT3 = 1133;
constexpr int IDC_ES_CLEAR1 = 1130;
constexpr int IDC_ES_CLEAR2 = 1134;
constexpr int IDC_ES_CLEAR3 = 1135;
