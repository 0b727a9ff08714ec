// CaptureKind: the form of the Communicate page's capture file. The numbers
// are those "cap.cfg" stores. Plain C++.
#pragma once

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

// The letters a site's call line gives the forms Raw, CSV-1, CSV-2 and Tideda.
constexpr char kCaptureFormLetters[4] = {'R', '1', '2', 'T'};

// The kind a form letter names; None for any other byte.
constexpr CaptureKind CaptureKindOfLetter(char letter) {
    for (int i = 0; i < 4; ++i)
        if (kCaptureFormLetters[i] == letter)
            return CaptureKind(int(CaptureKind::Raw) + i);
    return CaptureKind::None;
}

// A form letter as the Schedule writes it back: any other byte is Raw's.
constexpr char WrittenFormLetter(char letter) {
    return CaptureKindOfLetter(letter) == CaptureKind::None ? kCaptureFormLetters[0] : letter;
}
