// The poll log "log.txt": one line per call attempt, written in two pieces,
// the start at the hand-off and the result when the call is over. No Qt.
#pragma once

#include <string>

#include "framework/Clock.h"

// "%02d-%s-%04d %02d:%02d:%02d  Site#%03d  %20s  %15s  Attempt#%d  " with
// the name cut to its first 20 characters.
std::string FormatLogStart(const LocalTime& now, int site, const char* name, const char* phone,
                           int attempt);
// The result text of a site's status and " \r\n".
std::string FormatLogResult(char status);
// Appends to the file, creating it when missing and never truncating it;
// false when it cannot be opened or written.
bool AppendToLog(const std::string& path, const std::string& piece);
// AppendToLog for the start of a line: a last line left without its CR LF
// (a run ended during a call) gets one first, so every line stands alone.
bool StartLogLine(const std::string& path, const std::string& piece);
