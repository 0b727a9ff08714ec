#include "plot/UnitsConfig.h"

#include "framework/FileReader.h"
#include "framework/Files.h"

UnitsConfig ReadUnitsConfig(const std::string& path) {
    UnitsConfig units;
    CFileReader file;
    if (!file.Open(path, 3))
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

bool WriteUnitsConfig(const std::string& path, const UnitsConfig& units, bool synced) {
    const char bytes[3] = {units.imperial ? 'I' : 'M', ',', units.dayFirst ? 'D' : 'M'};
    return WriteFileIfDifferent(path, std::string(bytes, 3), nullptr, synced);
}
