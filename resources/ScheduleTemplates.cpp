// Dialog templates of the Schedule page.
#include "framework/Template.h"
#include "resources/ResourceSchedule.h"
#include "resources/TemplateSets.h"

void AddScheduleTemplates(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    t[IDD_SCHEDULE] = DialogTemplate{IDD_SCHEDULE,
                                     "",
                                     476,
                                     280,
                                     {
                                         {1, K::PushButton, "OK", 420, 262, 20, 10, TS_HIDDEN},
                                         {2, K::PushButton, "Cancel", 444, 262, 20, 10, TS_HIDDEN},
                                     }};
}
