// Resource ids of the Schedule page and the Edit Schedule dialog.
#pragma once

constexpr int IDD_SCHEDULE = 135;
