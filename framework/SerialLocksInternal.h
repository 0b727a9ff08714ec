// Lock files shared by the serial device and the probe.
#pragma once

#include <string>

// The live process holding the device's UUCP lock file; 0 when none does.
int LiveLockOwner(const std::string& device);
// Writes our own lock file in the first lock folder that lets us (replacing a dead process's);
// its path, or empty when no folder did.
std::string WriteLockFile(const std::string& device);
// Removes a lock file of ours.
void RemoveLockFile(const std::string& path);
