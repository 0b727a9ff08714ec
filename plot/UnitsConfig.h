// "units.cfg": three bytes, 'M' or 'I' (metric or imperial captions), ','
// and 'D' or 'M' (dates in dump files day or month first). No Qt in here.
#pragma once

#include <string>

struct UnitsConfig {
    bool imperial = false;
    bool dayFirst = true;
};

// Missing, short, unreadable or irregular files (a FIFO, a device) give the defaults, byte by byte:
// a first byte other than 'I' is metric; the date order is month first only when the two bytes
// after it are there and are not ',' 'D'.
UnitsConfig ReadUnitsConfig(const std::string& path);
// Replaces the file with its three bytes unless it holds them already;
// false (the file as it was) when it cannot be written. Unsynced, nothing
// waits for the disk (a power cut may leave the old file).
bool WriteUnitsConfig(const std::string& path, const UnitsConfig& units, bool synced = true);
