// The two readers every schedule file goes through: one comma field out of
// a line, and one line out of a file. Plain C++.
#pragma once

#include <cstddef>

class CFileReader;

// Copies the field at `source` into `dest` (at most destSize - 1 bytes and a
// NUL). A field ends at a comma, CR, LF or NUL; a longer field is cut at the
// destination's size and skipped to its end. Returns the position after the
// comma, or the position of the CR, LF or NUL, so that further calls at the
// end of a line keep giving empty fields without moving.
const char* CopyField(const char* source, char* dest, std::size_t destSize);

template <std::size_t N> const char* CopyField(const char* source, char (&dest)[N]) {
    return CopyField(source, dest, N);
}

// Reads one line through its LF, keeping at most size - 1 bytes and a NUL;
// the rest of a longer line is read and dropped, so the next call starts on
// the next line. Returns the number of bytes kept, 0 at the end of the file
// (the buffer is then left as it was).
std::size_t ReadFileLine(CFileReader& file, char* buffer, std::size_t size);

template <std::size_t N> std::size_t ReadFileLine(CFileReader& file, char (&buffer)[N]) {
    return ReadFileLine(file, buffer, N);
}
