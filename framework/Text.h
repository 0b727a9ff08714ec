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

// Text for the screen: every well-formed UTF-8 sequence is kept, every other
// byte is read as Latin-1 and written as its UTF-8 sequence.
std::string Utf8FromBytes(const std::string& bytes);

// The longest prefix of `text` of at most `limit` bytes that ends on a UTF-8
// character boundary (bytes that start no well-formed sequence count alone).
std::size_t Utf8PrefixLength(const std::string& text, std::size_t limit);
// Bytes of the first `chars` characters of `text`, counted as Utf8CharCount counts them.
std::size_t Utf8CharPrefixLength(const std::string& text, std::size_t chars);
// Characters in `text` as Utf8FromBytes reads them.
std::size_t Utf8CharCount(const std::string& text);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
