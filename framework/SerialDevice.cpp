#include "framework/SerialDevice.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kDevicePrefix[] = "\\\\.\\";

bool PortsFolderFromEnvironment(std::string* folder) {
    const char* env = std::getenv("TRELVORAN_PORTS");
    if (env == nullptr || env[0] == '\0')
        return false;
    *folder = env;
    return true;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    const passwd* pw = getpwuid(getuid());
    if (pw != nullptr && pw->pw_dir != nullptr)
        return pw->pw_dir;
    return std::string();
}

std::string TableDevice(int n) {
    char buf[32];
    if (n >= 1 && n <= 16)
        std::snprintf(buf, sizeof buf, "/dev/ttyS%d", n - 1);
    else if (n >= 17 && n <= 48)
        std::snprintf(buf, sizeof buf, "/dev/ttyUSB%d", n - 17);
    else if (n >= 49 && n <= 80)
        std::snprintf(buf, sizeof buf, "/dev/ttyACM%d", n - 49);
    else
        return std::string();
    return buf;
}

} // namespace

std::string ComDevicePath(int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\\\\.\\COM%d", n);
    return buf;
}

int ComPortNumber(const char* path) {
    if (path == nullptr)
        return 0;
    const size_t prefixLen = sizeof kDevicePrefix - 1;
    if (std::strncmp(path, kDevicePrefix, prefixLen) == 0)
        path += prefixLen;
    if (std::toupper(static_cast<unsigned char>(path[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(path[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(path[2])) != 'M')
        return 0;
    const char* digits = path + 3;
    if (digits[0] < '1' || digits[0] > '9')
        return 0;
    int n = digits[0] - '0';
    if (digits[1] != '\0') {
        if (digits[1] < '0' || digits[1] > '9' || digits[2] != '\0')
            return 0;
        n = n * 10 + (digits[1] - '0');
    }
    return n;
}

std::string PortsFolder() {
    std::string folder;
    if (PortsFolderFromEnvironment(&folder))
        return folder;
    const std::string home = HomeFolder();
    if (home.empty())
        return std::string();
    return home + "/.config/trelvoran/ports";
}

std::string ResolveDevicePath(const char* path) {
    if (path == nullptr || path[0] == '\0')
        return std::string();
    const int n = ComPortNumber(path);
    if (n == 0) {
        if (std::strncmp(path, kDevicePrefix, sizeof kDevicePrefix - 1) == 0)
            return std::string();
        return path;
    }

    std::string folder;
    const bool onlyLinks = PortsFolderFromEnvironment(&folder);
    if (!onlyLinks)
        folder = PortsFolder();
    if (!folder.empty()) {
        const std::string link = folder + "/COM" + std::to_string(n);
        struct stat st;
        if (lstat(link.c_str(), &st) == 0)
            return link;
    }
    if (onlyLinks)
        return std::string();
    return TableDevice(n);
}
