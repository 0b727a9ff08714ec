// Dump file names: a kind prefix, a number of at least three digits and
// ".plt", numbered one above the largest present. Plain C++.
#pragma once

#include <string>
#include <vector>

constexpr long kMaxDumpNumber = 999999999;

// The number written right after `prefix` in `name` (any letter case in
// the prefix); 0 when no digit follows it. Saturates at kMaxDumpNumber.
long DumpNumberOf(const std::string& name, const std::string& prefix);

// One above the largest number among `names` (1 when there is none).
long NextDumpNumber(const std::vector<std::string>& names, const std::string& prefix);

// "Durn001.plt".
std::string DumpFileName(const std::string& prefix, long number);

// Creates the next dump file of `prefix` in `folder` without ever touching
// a file that exists: a name that is taken moves on to the next number.
// Returns the name (no folder), or empty with `error` set.
std::string CreateNextDumpFile(const std::string& folder, const std::string& prefix, int* error);
