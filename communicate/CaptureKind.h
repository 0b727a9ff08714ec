// CaptureKind: the form of the Communicate page's capture file. The numbers
// are those "cap.cfg" stores. Plain C++.
#pragma once

#include "shell/CallCommands.h"

enum class CaptureKind : int {
    None = 0,
    Raw = 1,
    Csv1 = 2,
    Csv2 = 3,
    Tideda = 4,
};

// The kind a stored byte names; None for any other byte.
constexpr CaptureKind CaptureKindOfByte(int byte) {
    return byte >= int(CaptureKind::Raw) && byte <= int(CaptureKind::Tideda) ? CaptureKind(byte)
                                                                             : CaptureKind::None;
}

// The kind a call line's form letter names; None for any other byte.
constexpr CaptureKind CaptureKindOfLetter(char letter) {
    const int index = FormIndexOfLetter(letter);
    return index < 0 ? CaptureKind::None : CaptureKind(int(CaptureKind::Raw) + index);
}
