// Resource ids of the Communicate page and its dialogs.
#pragma once

constexpr int IDD_SELECT = 132;

constexpr int IDC_COMBO_PORT = 1001;
constexpr int IDC_COMBO_BAUD = 1002;
constexpr int IDC_TERMINAL = 1042;
constexpr int IDC_USER_BUTTON1 = 1043;
constexpr int IDC_USER_BUTTON2 = 1044;
constexpr int IDC_USER_BUTTON3 = 1045;
constexpr int IDC_USER_BUTTON4 = 1046;
constexpr int IDC_USER_BUTTON5 = 1047;
constexpr int IDC_START_CAPTURE = 1048;
constexpr int IDC_DIAL = 1049;
constexpr int IDC_HANGUP = 1050;
constexpr int IDC_CLEAR_SCREEN = 1051;
constexpr int IDC_USER_BUTTON6 = 1052;
constexpr int IDC_USER_BUTTON7 = 1053;
constexpr int IDC_USER_BUTTON8 = 1054;
constexpr int IDC_FILE_LABEL4 = 1055;
constexpr int IDC_FILE_LABEL3 = 1056;
constexpr int IDC_FILE_LABEL1 = 1057;
constexpr int IDC_FILE_LABEL2 = 1058;
constexpr int IDC_FILE_LABEL5 = 1059;
constexpr int IDC_FILE_LABEL6 = 1060;
constexpr int IDC_PHONE_NUMBER = 1061;
constexpr int IDC_AUTO_HANGUP = 1062;
constexpr int IDC_FILE_LABEL7 = 1063;
constexpr int IDC_FILE_LABEL8 = 1064;
constexpr int IDC_LEVEL_UP = 1065;
constexpr int IDC_LEVEL_DOWN = 1066;
constexpr int IDC_STATUS = 1127;
constexpr int IDC_DUMP_DATE = 1128;
constexpr int IDC_CAPTURE_FILE = 1132;
constexpr int IDC_FRAMING = 1136;
constexpr int IDC_LEVEL = 1137;
constexpr int IDC_BUTTON_LABEL = 1138;

// The user-button and file-label ids, buttons 1 to 8.
inline constexpr int kUserButtonIds[8] = {IDC_USER_BUTTON1, IDC_USER_BUTTON2, IDC_USER_BUTTON3,
                                          IDC_USER_BUTTON4, IDC_USER_BUTTON5, IDC_USER_BUTTON6,
                                          IDC_USER_BUTTON7, IDC_USER_BUTTON8};
inline constexpr int kFileLabelIds[8] = {IDC_FILE_LABEL1, IDC_FILE_LABEL2, IDC_FILE_LABEL3,
                                         IDC_FILE_LABEL4, IDC_FILE_LABEL5, IDC_FILE_LABEL6,
                                         IDC_FILE_LABEL7, IDC_FILE_LABEL8};

// Capture Format dialog.
constexpr int IDD_CAPTURE = 142;
constexpr int IDC_CAPTURE_RAW = 1064;
constexpr int IDC_CAPTURE_CSV1 = 1065;
constexpr int IDC_CAPTURE_CSV2 = 1066;
constexpr int IDC_CAPTURE_TIDEDA = 1067;
