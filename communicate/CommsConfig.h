// "comms.cfg": the last COM port and baud index, as "%03d, %d" with no line
// end. Plain C++.
#pragma once

#include <string>

struct CommsConfig {
    int port = 1;
    int baudIndex = 3;
};

// Reads at most the first 8 bytes: the port is the number at byte 0, the
// baud index the digit at byte 5. Empty text gives port 1 and index 3; a
// baud field that is not one digit 0 to 7 gives 3.
CommsConfig ParseCommsConfig(const std::string& bytes);
std::string FormatCommsConfig(int port, int baudIndex);
