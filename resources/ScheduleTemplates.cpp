// Dialog templates of the Schedule page.
#include "framework/Template.h"
#include "resources/ResourceSchedule.h"
#include "resources/TemplateSets.h"

namespace {

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
    AddSchedulePage(t);
}
