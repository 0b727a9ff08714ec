// One way to tell the user that a file the work depends on could not be
// created or written: a "Warning" box naming the path and the system's
// reason.
#pragma once

#include <string>

// Shows "<action> <path>.\n<reason>" with the caption "Warning" and the
// exclamation icon; `error` is an errno value (0: no reason is added).
void WarnFileFailure(const std::string& action, const std::string& path, int error);

// The text WarnFileFailure shows.
std::string FileFailureText(const std::string& action, const std::string& path, int error);
