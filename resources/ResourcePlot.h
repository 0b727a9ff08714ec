// Resource ids of the View Plot page.
#pragma once

constexpr int IDD_PLOT = 133;
