// Opens a text file in the desktop's text viewer (xdg-open) without waiting
// for it. Tests replace the service to see what would be opened.
#pragma once

#include <functional>
#include <string>

class TextViewer {
public:
    // Starts a viewer with the file: empty when it started, else what was
    // tried and why it failed.
    using Opener = std::function<std::string(const std::string& path)>;

    // Empty when a viewer was started with the file, else the message to
    // show: "Could not open <path>: <what was tried>".
    static std::string Open(const std::string& path);
    // Installs a replacement; an empty one restores the desktop's viewer.
    static void Set(Opener opener);
};
