#include "communicate/CommsConfig.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

CommsConfig ParseCommsConfig(const std::string& bytes) {
    CommsConfig config;
    if (bytes.empty())
        return config;
    char buffer[12] = {};
    std::memcpy(buffer, bytes.data(), bytes.size() < 8 ? bytes.size() : 8);
    config.port = std::atoi(buffer);
    // The index is the digit at byte 5; anything else (missing, a sign, a
    // letter, a larger number) gives 9600.
    const char* field = buffer + 5;
    const bool digit = field[0] >= '0' && field[0] <= '7';
    const bool single = !(field[1] >= '0' && field[1] <= '9');
    config.baudIndex = digit && single ? field[0] - '0' : 3;
    return config;
}

std::string FormatCommsConfig(int port, int baudIndex) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03d, %d", port, baudIndex);
    return buffer;
}
