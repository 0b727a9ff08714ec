// Resource ids of the Firmware Upgrade page.
#pragma once

constexpr int IDD_UPGRADE = 134;

constexpr int IDC_DEVICE_PX70 = 1060;
constexpr int IDC_DEVICE_PX80 = 1061;
constexpr int IDC_DEVICE_QUENTA = 1062;
constexpr int IDC_DEVICE_VX5400 = 1063;
constexpr int IDC_DEVICE_VX6400 = 1064;
constexpr int IDC_SEND_COUNT = 1065;
constexpr int IDC_RESEND_COUNT = 1066;
constexpr int IDC_TX_LINE = 1067;
constexpr int IDC_RX_LINE = 1068;
constexpr int IDC_SEND_LABEL = 1069;
constexpr int IDC_RESEND_LABEL = 1070;
constexpr int IDC_TX_LABEL = 1071;
constexpr int IDC_RX_LABEL = 1072;
constexpr int IDC_PASSWORD_LABEL = 1073;
constexpr int IDC_SDI12_LABEL = 1074;
constexpr int IDC_NOTE_VX5400 = 1075;
constexpr int IDC_NOTE_VX6400 = 1076;
constexpr int IDC_DEVICE_FERRANT = 1077;
constexpr int IDC_DEVICE_LINDQVAR = 1078;
constexpr int IDC_DEVICE_LINDQVAR_PLUS = 1079;
constexpr int IDC_NOTE_LINDQVAR = 1080;
constexpr int IDC_NOTE_LINDQVAR_PLUS = 1081;
constexpr int IDC_SELECT_FILE = 1122;
constexpr int IDC_START_UPGRADE = 1123;
constexpr int IDC_FILE_LINE = 1124;
constexpr int IDC_PROGRESS = 1125;
constexpr int IDC_PASSWORD = 1126;
constexpr int IDC_UPGRADE_STATUS = 1127;
constexpr int IDC_STEP_PASSWORD = 1128;
constexpr int IDC_STEP_ERASE = 1129;
constexpr int IDC_STEP_COPY = 1130;
constexpr int IDC_STEP_EXECUTE = 1131;
constexpr int IDC_STEP_PROGRAMMING = 1132;
constexpr int IDC_STEP_COMPLETE = 1133;
constexpr int IDC_STEP_VERSION = 1134;
constexpr int IDC_STOP_UPGRADE = 1135;
constexpr int IDC_SEND_RESET = 1136;
constexpr int IDC_MORE = 1137;
