// The program's data folder: created on a first run, with the demo dump
// files copied in. Plain C++.
#pragma once

#include <string>

// Creates `folder` when it does not exist and then copies the demo dump
// files into it (a missing demo file is passed over). True when the folder
// was new. `error` gets the system's reason when the folder neither existed
// nor could be made, else 0.
bool PrepareDataFolder(const std::string& folder, int* error = nullptr);
