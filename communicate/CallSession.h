// The text work of a scheduled call: the incremental dump command, capture
// file names from their templates and the modem's reply. No Qt in here.
#pragma once

#include <string>

#include "framework/Clock.h"

// Whether `text` is an incremental dump command (a dump word followed by
// "/"); `dumpWord` tells whether a dump word begins at a start position.
// The last five characters of the text are never a start position.
bool IsIncrementalDumpCommand(const char* text, bool* dumpWord);

// The capture file name of a template at local time `now`: "^H" hour, "^M"
// minute, "^S" second, "^D" day, "^m" month, "^Y" year modulo 100, two digits
// each; other "^" pairs stay. At most 98 characters.
std::string ExpandCaptureName(const char* templ, const LocalTime& now);
// A template holding ':' or beginning with '/' is a full path.
bool IsFullCapturePath(const char* templ);

// Result character of the modem's reply in `reply` (100 bytes) after
// `rxCount` received bytes: '1' connect, '5' busy, '6' no carrier, '7' no
// dialtone, in any letter case; 0 when nothing matched.
char ScanModemReply(const char* reply, int rxCount);
