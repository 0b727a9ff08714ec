// Page indices: the order in which the main window adds the tabs.
#pragma once

constexpr int PAGE_COMMUNICATE = 0;
constexpr int PAGE_VIEW_PLOT = 1;
constexpr int PAGE_SCHEDULE = 2;
constexpr int PAGE_FIRMWARE_UPGRADE = 3;
