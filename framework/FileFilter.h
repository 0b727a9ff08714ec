// The file dialogs' filters: "Text (*.txt)|*.txt;*.log|All Files (*.*)|*.*||" as the entries a
// dialog shows. Plain C++, no Qt.
#pragma once

#include <string>
#include <vector>

// One entry per description and pattern pair, up to the first empty description: the
// description, with the patterns it ends with in brackets left off, then " (patterns)",
// ';' written as a blank and "*.*" as "*": {"Text (*.txt *.log)", "All Files (*)"}.
std::vector<std::string> FileFilterEntries(const std::string& filter);
