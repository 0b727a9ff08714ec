// Dialog templates of the View Plot page.
#include "framework/Template.h"
#include "resources/ResourcePlot.h"
#include "resources/TemplateSets.h"

void AddPlotTemplates(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    t[IDD_PLOT] = DialogTemplate{IDD_PLOT,
                                 "",
                                 476,
                                 280,
                                 {
                                     {1, K::PushButton, "OK", 420, 262, 20, 10, TS_HIDDEN},
                                     {2, K::PushButton, "Cancel", 444, 262, 20, 10, TS_HIDDEN},
                                 }};
}
