// Dialog templates of the Schedule page.
#include "framework/DateTimeCtrl.h"
#include "framework/Template.h"
#include "resources/ResourceSchedule.h"
#include "resources/TemplateSets.h"

namespace {

// Template 144, the modal "Edit Schedule" dialog.
void AddEditScheduleTemplate(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    std::vector<TemplateItem> items = {
        {IDC_ES_SITE_GROUP, K::GroupBox, " Site ", 7, 4, 444, 52, 0},
        {-1, K::Static, "Site Name :", 14, 17, 46, 9, 0},
        {IDC_ES_NAME, K::Edit, "", 62, 15, 130, 12, TS_AUTOHSCROLL | TS_BORDER},
        {-1, K::Static, "Phone No :", 200, 17, 44, 9, 0},
        {IDC_ES_PHONE, K::Edit, "", 246, 15, 90, 12, TS_AUTOHSCROLL | TS_BORDER},
        {IDC_ES_DIRECT, K::CheckBox, "Direct Connection Test", 342, 15, 106, 12, 0},
        {-1, K::Static, "Start Time :", 14, 37, 46, 9, 0},
        {IDC_ES_START_TIME, K::DateTime, "", 62, 35, 40, 13, DTS_UPDOWN},
        {IDC_ES_START_DATE, K::DateTime, "", 106, 35, 58, 13, 0},
        {-1, K::Static, "Poll Interval :", 172, 37, 54, 9, 0},
        {IDC_ES_INTERVAL, K::Edit, "", 228, 35, 30, 12, TS_AUTOHSCROLL | TS_BORDER | TS_NUMBER},
        {IDC_ES_UNIT_MIN, K::RadioButton, "Min", 262, 35, 30, 12, 0},
        {IDC_ES_UNIT_HOUR, K::RadioButton, "Hour", 294, 35, 34, 12, 0},
        {IDC_ES_UNIT_DAYS, K::RadioButton, "Days", 330, 35, 34, 12, 0},
        {-1, K::Static, "Retries :", 370, 37, 34, 9, 0},
        {IDC_ES_RETRIES, K::ComboDropList, "", 406, 35, 30, 120, 0},
        {-1, K::GroupBox, " Data to be Retrieved", 7, 60, 444, 104, 0},
        {IDC_ES_SAVE_TEMPLATE, K::PushButton, "Save this as a Template", 7, 306, 100, 14, 0},
        {IDC_ES_USE_TEMPLATE, K::PushButton, "Use Template to Update these fields", 112, 306, 140,
         14, 0},
        {IDOK, K::DefPushButton, "OK", 334, 306, 55, 14, 0},
        {IDCANCEL, K::PushButton, "Cancel", 396, 306, 55, 14, 0},
    };
    struct CommandRow {
        int cmd, file, append, raw, csv1, csv2, tideda, save, event, clear;
    };
    const CommandRow rows[3] = {
        {IDC_ES_CMD1, IDC_ES_FILE1, IDC_ES_APPEND1, IDC_ES_CMD1_RAW, IDC_ES_CMD1_CSV1,
         IDC_ES_CMD1_CSV2, IDC_ES_CMD1_TIDEDA, IDC_ES_SAVE_EVENT1, IDC_ES_EVENT1, IDC_ES_CLEAR1},
        {IDC_ES_CMD2, IDC_ES_FILE2, IDC_ES_APPEND2, IDC_ES_CMD2_RAW, IDC_ES_CMD2_CSV1,
         IDC_ES_CMD2_CSV2, IDC_ES_CMD2_TIDEDA, IDC_ES_SAVE_EVENT2, IDC_ES_EVENT2, IDC_ES_CLEAR2},
        {IDC_ES_CMD3, IDC_ES_FILE3, IDC_ES_APPEND3, IDC_ES_CMD3_RAW, IDC_ES_CMD3_CSV1,
         IDC_ES_CMD3_CSV2, IDC_ES_CMD3_TIDEDA, IDC_ES_SAVE_EVENT3, IDC_ES_EVENT3, IDC_ES_CLEAR3},
    };
    static const char* const kCommandLabels[3] = {"Command 1 :", "Command 2 :", "Command 3 :"};
    static const char* const kFileLabels[3] = {"Filename 1 :", "Filename 2 :", "Filename 3 :"};
    for (int k = 0; k < 3; ++k) {
        const CommandRow& r = rows[k];
        const int y = 72 + 31 * k;
        items.push_back({-1, K::Static, kCommandLabels[k], 14, y + 2, 48, 9, 0});
        items.push_back({r.cmd, K::Edit, "", 64, y, 124, 12, TS_AUTOHSCROLL | TS_BORDER});
        items.push_back({-1, K::Static, kFileLabels[k], 194, y + 2, 48, 9, 0});
        items.push_back({r.file, K::Edit, "", 244, y, 140, 12, TS_AUTOHSCROLL | TS_BORDER});
        items.push_back({r.append, K::RadioButton, "Append", 390, y, 54, 12, 0});
        items.push_back({r.raw, K::RadioButton, "Raw", 64, y + 14, 30, 12, 0});
        items.push_back({r.csv1, K::RadioButton, "CSV1", 96, y + 14, 34, 12, 0});
        items.push_back({r.csv2, K::RadioButton, "CSV2", 132, y + 14, 34, 12, 0});
        items.push_back({r.tideda, K::RadioButton, "Tideda", 168, y + 14, 42, 12, 0});
        items.push_back(
            {r.save, K::RadioButton, "Save Last Dump Event >>", 214, y + 14, 110, 12, 0});
        items.push_back({r.event, K::Static, "", 326, y + 16, 84, 9, TS_CENTER});
        items.push_back({r.clear, K::PushButton, "Clear", 412, y + 14, 34, 12, 0});
    }
    static const char* const kCommandLegend[] = {
        "^M  =  Carriage Return",     "^T   =  PC Time (hh:mm:ss)", "^D   =  PC Date (dd/mm/yy)",
        "^d   =  PC Date (mm/dd/yy)", "^t    =  Last Time (hh:mm)", "^L   =  Last Date (dd/mm/yy)",
        " ~    =  500mS Delay"};
    static const char* const kCommandExamples[] = {"ST^M",  "VER^M~ST^M", "Passwd=xxxx^M~T=^T^M",
                                                   "DUR^M", "DUR/5^M",    "DUR/10/^t/^L^M"};
    static const char* const kFileLegend[] = {
        "^H   =  PC Hour      (hh)",  "^M   =  PC Minute   (mm)", "^S    =  PC Second  (ss)",
        "^D   =  PC Day        (dd)", "^m   =  PC Month    (mm)", "^Y   =  PC Year       (yy)"};
    static const char* const kFileExamples[] = {"Site72.txt", "Site35_^Y^m^D.csv", "DUR_Site22.plt",
                                                "File^Y^m^D^H^M^S.txt", "DUR_^Y^m^D.plt"};
    items.push_back({-1, K::GroupBox, " Command Abbreviation ", 7, 168, 220, 132, 0});
    items.push_back({-1, K::GroupBox, " Filename Creation ", 231, 168, 220, 132, 0});
    for (int i = 0; i < 7; ++i)
        items.push_back({-1, K::Static, kCommandLegend[i], 14, 182 + 15 * i, 110, 9, 0});
    for (int i = 0; i < 6; ++i)
        items.push_back({-1, K::Static, kCommandExamples[i], 126, 182 + 15 * i, 98, 9, 0});
    for (int i = 0; i < 6; ++i)
        items.push_back({-1, K::Static, kFileLegend[i], 238, 182 + 15 * i, 110, 9, 0});
    for (int i = 0; i < 5; ++i)
        items.push_back({-1, K::Static, kFileExamples[i], 352, 182 + 15 * i, 95, 9, 0});
    t[IDD_EDIT_SCHEDULE] = DialogTemplate{IDD_EDIT_SCHEDULE, "Edit Schedule", 458, 327, items};
}

// Template 135, the Schedule page.
void AddSchedulePage(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    t[IDD_SCHEDULE] = DialogTemplate{
        IDD_SCHEDULE,
        "",
        474,
        280,
        {
            {IDC_SCHEDULE_DISABLE_AUTOPOLL, K::CheckBox, "Disable Auto Polling", 10, 0, 100, 9, 0},
            {IDC_SCHEDULE_CLOCK, K::Static, "", 130, 1, 50, 8, 0},
            {IDC_SCHEDULE_LIST, K::ListView, "", 10, 9, 457, 253, TS_BORDER},
            {IDC_SCHEDULE_VIEW_LOG, K::PushButton, "View Log", 10, 265, 50, 12, 0},
            {IDC_SCHEDULE_EDIT_HINT, K::Static, "Double Click on item to edit the Configuration.",
             67, 266, 170, 8, 0},
            {IDC_SCHEDULE_CALL_HINT, K::Static, "Click on item to Select then Press -->", 274, 266,
             140, 8, TS_RIGHT},
            {IDC_SCHEDULE_CALL_NOW, K::PushButton, "Call Now", 419, 265, 50, 12, 0},
            {1, K::PushButton, "OK", 420, 262, 20, 10, TS_HIDDEN},
            {2, K::PushButton, "Cancel", 444, 262, 20, 10, TS_HIDDEN},
        }};
}

} // namespace

void AddScheduleTemplates(std::map<int, DialogTemplate>& t) {
    AddEditScheduleTemplate(t);
    AddSchedulePage(t);
}
