// Resource ids of the main window and its information dialogs.
#pragma once

// Dialog templates.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_KESTRUNE_DIALOG = 102;
constexpr int IDD_MYDATA = 103;
constexpr int IDD_HELP_COMMS = 146;
constexpr int IDD_HELP_PLOT = 147;
constexpr int IDD_HELP_SCHEDULE = 148;
constexpr int IDD_HELP_UPGRADE = 149;

// Icons and bitmaps.
constexpr int IDR_MAINFRAME = 128;
constexpr int IDB_TABS = 131;

// Main window.
constexpr int IDC_TAB = 1000;
constexpr int IDC_PROGRAM_ICON = 1123;
constexpr int IDC_AUTOPOLL_DISABLED = 1135;
constexpr int ID_HELP = 57670;
constexpr int IDC_ABOUT = 3;
constexpr int IDC_WHERES_MY_DATA = 4;

// "Where's My Data ?"
constexpr int IDC_PATH_PLOTS = 1140;
constexpr int IDC_PATH_SCHEDULE = 1141;
constexpr int IDC_PATH_CONFIG = 1142;
