// Opens a text file in the desktop's text viewer without waiting for it.
// Tests replace the service to see what would be opened.
#pragma once

#include <functional>
#include <string>

class TextViewer {
public:
    using Opener = std::function<bool(const std::string& path)>;

    // True when the viewer could be started with the file.
    static bool Open(const std::string& path);
    // Installs a replacement; an empty one restores the desktop's viewer.
    static void Set(Opener opener);
};
