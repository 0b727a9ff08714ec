// The Schedule page's settings files: "stat.cfg" (each site's status),
// "en.cfg" (the auto-polling box and each site's tick) and "cw.cfg" (column
// widths and the list width they were taken at). No Qt in here.
#pragma once

#include <string>

#include "framework/WinTypes.h"
#include "schedule/SiteFile.h"

constexpr int kColumnCount = 8;

// One line of 603 bytes: each site's status and ',', then CR LF NUL.
// `status` is indexed by site number (1 to 300).
std::string FormatStatusConfig(const char* status);
// Site n's status is byte 2(n-1) of the first line; a missing byte or one
// outside '1' to '9' gives '0'.
void ParseStatusConfig(const std::string& bytes, char* status);

// One line of 605 bytes: "1," or "0," for the box, then for each site, then
// CR LF NUL. `enabled` is indexed by site number.
std::string FormatEnableConfig(bool disableAutoPolling, const BYTE* enabled);
// The first byte '1' ticks the box; from byte 2 on, a comma field that
// begins with '1' enables its site.
void ParseEnableConfig(const std::string& bytes, bool* disableAutoPolling, BYTE* enabled);

// "%d,...,%d" of the nine numbers, then CR LF.
std::string FormatColumnWidths(const int* widths);
// The first number from the start, the n-th after the n-th comma; an LF
// before it, or a missing one, gives 0. Only `bytes` is looked at.
void ParseColumnWidths(const std::string& bytes, int* widths);
