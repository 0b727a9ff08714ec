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
    config.baudIndex = std::atoi(buffer + 5);
    if (config.baudIndex < 0 || config.baudIndex > 7)
        config.baudIndex = 3;
    return config;
}

std::string FormatCommsConfig(int port, int baudIndex) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%03d, %d", port, baudIndex);
    return buffer;
}
