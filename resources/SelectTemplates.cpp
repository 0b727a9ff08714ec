// Dialog template of the Communicate page.
#include "framework/Template.h"
#include "resources/ResourceSelect.h"
#include "resources/TemplateSets.h"

void AddSelectTemplates(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    std::vector<TemplateItem> select = {
        {IDC_COMBO_PORT, K::ComboDropList, "", 7, 0, 43, 132, 0},
        {IDC_COMBO_BAUD, K::ComboDropList, "", 55, 0, 41, 132, 0},
        {IDC_FRAMING, K::Static, "/8/N/1", 98, 2, 28, 11, 0},
        {-1, K::Static, "Phone No:", 129, 2, 36, 10, 0},
        {IDC_PHONE_NUMBER, K::Edit, "", 167, 0, 84, 13, TS_AUTOHSCROLL | TS_BORDER},
        {IDC_DIAL, K::PushButton, "Dial", 257, 1, 40, 12, 0},
        {IDC_HANGUP, K::PushButton, "Hangup", 298, 1, 40, 12, 0},
        {IDC_BUTTON_LABEL, K::Static, "Button", 345, 0, 26, 8, 0},
        {IDC_LEVEL, K::Static, "Level 1", 345, 8, 28, 8, 0},
        {IDC_LEVEL_DOWN, K::PushButton, "<", 373, 1, 9, 12, 0},
        {IDC_LEVEL_UP, K::PushButton, ">", 384, 1, 9, 12, 0},
        {-1, K::Static, "Auto Hangup", 395, 0, 28, 16, 0},
        {IDC_AUTO_HANGUP, K::ComboDropList, "", 424, 1, 25, 131, 0},
        {-1, K::Static, "Mins", 452, 4, 16, 8, 0},
        {IDC_CLEAR_SCREEN, K::PushButton, "Clear Screen", 7, 20, 50, 12, 0},
        {IDC_START_CAPTURE, K::PushButton, "Start Capture", 399, 20, 68, 12, 0},
        {IDC_CAPTURE_FILE, K::Static, "", 399, 33, 68, 10, TS_CENTER},
        {IDC_TERMINAL, K::Edit, "", 7, 47, 460, 206,
         TS_MULTILINE | TS_READONLY | TS_VSCROLL | TS_BORDER},
        {IDC_STATUS, K::Static, "Schedule :", 7, 264, 237, 9, 0},
        {IDC_DUMP_DATE, K::Static, "Dump Date :", 266, 264, 99, 9, 0},
        {1, K::PushButton, "OK", 420, 262, 20, 10, TS_HIDDEN},
        {2, K::PushButton, "Cancel", 444, 262, 20, 10, TS_HIDDEN},
    };
    for (int k = 0; k < 8; ++k) {
        select.push_back({kUserButtonIds[k], K::PushButton, "", 70 + 40 * k, 20, 40, 12, 0});
        select.push_back(
            {kFileLabelIds[k], K::Static, "Filename", 70 + 40 * k, 33, 40, 10, TS_CENTER});
    }
    t[IDD_SELECT] = DialogTemplate{IDD_SELECT, "", 476, 280, select};

    // Capture Format: one group frame per form.
    std::vector<TemplateItem> capture = {
        {-1, K::Static, "Select the format that you wish to capture the data in :", 7, 7, 236, 10,
         0},
        {-1, K::GroupBox, "", 7, 18, 236, 24, 0},
        {IDC_CAPTURE_RAW, K::PushButton, "Raw", 13, 26, 40, 12, 0},
        {-1, K::Static, "(As it comes out of the logger)", 62, 28, 170, 10, 0},
    };
    const struct {
        int id;
        const char* name;
        const char* rain;
        const char* river;
    } forms[] = {
        {IDC_CAPTURE_CSV1, "CSV-1", "(Date time, accum)", "(Date time, water level)"},
        {IDC_CAPTURE_CSV2, "CSV-2", "(Date time, bucket size)", "(Date time, water level)"},
        {IDC_CAPTURE_TIDEDA, "Tideda", "(Bucket sizex10      Date    Time)",
         "(Water level            Date    Time)"},
    };
    for (int k = 0; k < 3; ++k) {
        const int y = 46 + 34 * k;
        capture.push_back({-1, K::GroupBox, "", 7, y, 236, 30, 0});
        capture.push_back({forms[k].id, K::PushButton, forms[k].name, 13, y + 10, 40, 12, 0});
        capture.push_back({-1, K::Static, "Rain :", 62, y + 6, 28, 10, 0});
        capture.push_back({-1, K::Static, forms[k].rain, 92, y + 6, 148, 10, 0});
        capture.push_back({-1, K::Static, "River :", 62, y + 17, 28, 10, 0});
        capture.push_back({-1, K::Static, forms[k].river, 92, y + 17, 148, 10, 0});
    }
    capture.push_back({2, K::PushButton, "Cancel", 193, 152, 50, 14, 0});
    capture.push_back({1, K::DefPushButton, "OK", 137, 152, 50, 14, TS_HIDDEN});
    t[IDD_CAPTURE] = DialogTemplate{IDD_CAPTURE, "Capture Format", 250, 172, capture};
}
