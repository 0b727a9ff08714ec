#include "communicate/DataFolder.h"

#include <cerrno>

#include "framework/Environment.h"
#include "framework/Files.h"

bool PrepareDataFolder(const std::string& folder, int* error) {
    if (error != nullptr)
        *error = 0;
    errno = 0;
    if (!CreateFolder(folder)) {
        // The reason of the call that failed, before IsDirectory sets its own.
        const int failure = errno;
        if (error != nullptr && !IsDirectory(folder))
            *error = failure != 0 ? failure : ENOTDIR;
        return false;
    }
    for (const char* name : {"DurnDemo.plt", "DurvDemo.plt"}) {
        const std::string source = FindShippedFile(name);
        if (!source.empty())
            CopyFileReplace(source, JoinPath(folder, name));
    }
    return true;
}
