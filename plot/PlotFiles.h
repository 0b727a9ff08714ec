// The dump files the View Plot page lists. No Qt in here.
#pragma once

#include <string>
#include <vector>

// Names of the regular files in `folder` matching "Du*.plt" without regard
// to case, sorted as a sorted list box sorts (without regard to case).
std::vector<std::string> ListPlotFiles(const std::string& folder);
// True when `path` names a regular file that can be opened for reading.
bool CanReadPlotFile(const std::string& path);
