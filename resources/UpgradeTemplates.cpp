// Dialog template of the Firmware Upgrade page.
#include "framework/Template.h"
#include "resources/ResourceUpgrade.h"
#include "resources/TemplateSets.h"

void AddUpgradeTemplates(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    t[IDD_UPGRADE] = DialogTemplate{
        IDD_UPGRADE,
        "",
        474,
        306,
        {
            {-1, K::GroupBox, "Device Type", 68, 11, 263, 78, 0},
            {IDC_DEVICE_PX70, K::CheckBox, "PX70", 81, 24, 64, 11, 0},
            {IDC_DEVICE_PX80, K::CheckBox, "PX80", 81, 36, 64, 11, 0},
            {IDC_DEVICE_QUENTA, K::CheckBox, "Quenta RZ5 / RZ610 / RZ5-610 / RZ7C", 81, 48, 149, 11,
             0},
            {IDC_DEVICE_FERRANT, K::CheckBox, "Ferrant", 81, 60, 110, 11, 0},
            {IDC_SDI12_LABEL, K::Static, "SDI-12", 239, 26, 55, 9, TS_CENTER},
            {IDC_DEVICE_VX5400, K::CheckBox, "VX5400", 250, 36, 49, 11, 0},
            {IDC_DEVICE_VX6400, K::CheckBox, "VX6400 / KT482B", 250, 48, 78, 11, 0},
            {IDC_DEVICE_LINDQVAR, K::CheckBox, "Lindqvar", 250, 60, 63, 11, 0},
            {IDC_DEVICE_LINDQVAR_PLUS, K::CheckBox, "Lindqvar Plus (LCD)", 250, 73, 78, 11, 0},
            {IDC_NOTE_VX5400, K::Static, "SDI-12 address MUST be set to 0", 338, 36, 120, 10, 0},
            {IDC_NOTE_VX6400, K::Static,
             "SDI-12 address MUST be set to 0 and comms must be set to RS232", 338, 45, 119, 21, 0},
            {IDC_NOTE_LINDQVAR, K::Static, "SDI-12 address MUST be set to 0", 338, 63, 120, 10, 0},
            {IDC_NOTE_LINDQVAR_PLUS, K::Static, "SDI-12 address MUST be set to 0", 338, 74, 120, 10,
             0},
            {IDC_SELECT_FILE, K::PushButton, "Select File", 80, 98, 65, 16, 0},
            {IDC_FILE_LINE, K::Static, "No File Selected", 170, 95, 203, 23, 0},
            {IDC_PASSWORD_LABEL, K::Static, "4 char Password", 77, 128, 32, 20, TS_CENTER},
            {IDC_PASSWORD, K::Edit, "", 113, 130, 31, 12, TS_AUTOHSCROLL | TS_BORDER},
            {IDC_START_UPGRADE, K::PushButton, "Start Upgrade", 80, 159, 65, 16, TS_DISABLED},
            {IDC_STEP_VERSION, K::Static, "Version", 170, 150, 197, 20, 0},
            {IDC_STEP_PASSWORD, K::Static, "Password Accepted", 170, 175, 112, 11, 0},
            {IDC_STEP_ERASE, K::Static, "Erasing Program Flash", 170, 186, 132, 11, 0},
            {IDC_STEP_COPY, K::Static, "---", 170, 197, 138, 11, 0},
            {IDC_STEP_EXECUTE, K::Static, "Executing Firmware Upgrade", 170, 209, 132, 11, 0},
            {IDC_STEP_PROGRAMMING, K::Static, "Programming....", 170, 220, 158, 11, 0},
            {IDC_STEP_COMPLETE, K::Static, "Upgrade Complete", 170, 220, 141, 11, 0},
            {IDC_PROGRESS, K::Progress, "", 170, 233, 158, 8, 0},
            {IDC_UPGRADE_STATUS, K::Static, "", 170, 244, 191, 12, 0},
            {IDC_STOP_UPGRADE, K::PushButton, "Stop Upgrade", 402, 163, 65, 16, TS_HIDDEN},
            {IDC_SEND_RESET, K::PushButton, "Send Reset", 402, 183, 65, 16, TS_HIDDEN},
            {IDC_SEND_LABEL, K::Static, "Send :", 33, 190, 29, 13, TS_HIDDEN},
            {IDC_SEND_COUNT, K::Static, "0", 68, 190, 37, 10, TS_HIDDEN},
            {IDC_RESEND_LABEL, K::Static, "ReSend :", 23, 204, 33, 13, TS_HIDDEN},
            {IDC_RESEND_COUNT, K::Static, "0", 68, 204, 37, 10, TS_HIDDEN},
            {IDC_TX_LABEL, K::Static, "Tx :", 9, 260, 19, 13, TS_HIDDEN},
            {IDC_TX_LINE, K::Static, "", 33, 260, 424, 11, TS_HIDDEN},
            {IDC_RX_LABEL, K::Static, "Rx :", 9, 275, 19, 13, TS_HIDDEN},
            {IDC_RX_LINE, K::Static, "", 33, 275, 205, 11, TS_HIDDEN},
            {IDC_MORE, K::PushButton, "More +", 432, 283, 35, 16, 0},
            {1, K::PushButton, "OK", 258, 285, 50, 14, TS_HIDDEN},
            {2, K::PushButton, "Cancel", 323, 285, 50, 14, TS_HIDDEN},
        }};
}
