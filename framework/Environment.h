// Where the program keeps its data. No Qt in here.
#pragma once

#include <string>

// $APPDATA, else $XDG_DATA_HOME, else ~/.local/share.
std::string DataFolderBase();
// The data folder: the base plus "/TrelvoranFiles".
std::string DataFolderPath();
// A shipped file (the demo dump files): the current directory, then next to
// the executable, then the installed data folder; empty when none has it.
std::string FindShippedFile(const std::string& name);
