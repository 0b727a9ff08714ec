// Resource ids of the Firmware Upgrade page.
#pragma once

constexpr int IDD_UPGRADE = 134;
