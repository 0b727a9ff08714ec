// Bounded copies into fixed-size character buffers, and C-locale
// formatting. No Qt in here.
#pragma once

#include <cstddef>
#include <string>

// Copies at most `maxChars` bytes of `src` (stopping at its NUL) and a NUL;
// never writes more than `maxChars` + 1 bytes.
void BoundedCopy(char* dst, std::size_t maxChars, const char* src);

// Copies byte by byte, stopping after a CR, an LF or a NUL, or after
// `limit` bytes, then writes a NUL behind the last byte copied.
void LineCopy(char* dst, std::size_t limit, const char* src);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
