// Dialog templates of the Firmware Upgrade page.
#include "framework/Template.h"
#include "resources/ResourceUpgrade.h"
#include "resources/TemplateSets.h"

void AddUpgradeTemplates(std::map<int, DialogTemplate>& t) {
    using K = ControlKind;
    t[IDD_UPGRADE] = DialogTemplate{IDD_UPGRADE,
                                    "",
                                    476,
                                    280,
                                    {
                                        {1, K::PushButton, "OK", 420, 262, 20, 10, TS_HIDDEN},
                                        {2, K::PushButton, "Cancel", 444, 262, 20, 10, TS_HIDDEN},
                                    }};
}
