#include "framework/Environment.h"

#include <cstdlib>

#include "framework/Files.h"

#ifndef TRELVORAN_DATA_DIR
#define TRELVORAN_DATA_DIR "/usr/local/share/trelvoran"
#endif

namespace {
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}
} // namespace

std::string DataFolderBase() {
    std::string base = Env("APPDATA");
    if (base.empty())
        base = Env("XDG_DATA_HOME");
    if (base.empty()) {
        std::string home = Env("HOME");
        base = (home.empty() ? std::string(".") : home) + "/.local/share";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base;
}

std::string DataFolderPath() {
    return DataFolderBase() + "/TrelvoranFiles";
}

std::string FindShippedFile(const std::string& name) {
    for (const std::string& folder :
         {CurrentDirectory(), ExecutableDirectory(), std::string(TRELVORAN_DATA_DIR)}) {
        if (folder.empty())
            continue;
        const std::string path = JoinPath(folder, name);
        if (FileExists(path))
            return path;
    }
    return {};
}
