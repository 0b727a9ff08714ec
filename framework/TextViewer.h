// Opens a text file in the desktop's text viewer without waiting for it.
// Tests install their own viewer.
#pragma once

#include <string>

class TextViewer {
public:
    virtual ~TextViewer() = default;
    // False when the viewer could not be started.
    virtual bool Open(const std::string& path) = 0;

    static TextViewer& Get();
    // Installs a viewer (tests); null restores the desktop's.
    static void Set(TextViewer* viewer);
};
