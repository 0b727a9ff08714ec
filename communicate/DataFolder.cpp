#include "communicate/DataFolder.h"

#include "framework/Environment.h"
#include "framework/Files.h"

bool PrepareDataFolder(const std::string& folder) {
    if (!CreateFolder(folder))
        return false;
    for (const char* name : {"DurnDemo.plt", "DurvDemo.plt"}) {
        const std::string source = FindShippedFile(name);
        if (!source.empty())
            CopyFileReplace(source, JoinPath(folder, name));
    }
    return true;
}
