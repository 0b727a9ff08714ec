#include "plot/UnitsConfig.h"

#include "framework/Files.h"

UnitsConfig ReadUnitsConfig(const std::string& path) {
    UnitsConfig units;
    CFile file;
    // Read-only: POSIX has no share modes to ask for.
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return units;
    char first = 0;
    if (file.Read(&first, 1) != 1)
        first = 0;
    units.imperial = first == 'I';
    char rest[2] = {0, 0};
    const std::size_t got = file.Read(rest, 2);
    units.dayFirst = got < 2 || (rest[0] == ',' && rest[1] == 'D');
    return units;
}

bool WriteUnitsConfig(const std::string& path, const UnitsConfig& units) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return false;
    const char bytes[3] = {units.imperial ? 'I' : 'M', ',', units.dayFirst ? 'D' : 'M'};
    return file.Write(bytes, 3);
}
