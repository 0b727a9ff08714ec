#include "framework/Text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

void BoundedCopy(char* dst, std::size_t maxChars, const char* src) {
    std::size_t n = 0;
    if (src) {
        while (n < maxChars && src[n] != '\0') {
            dst[n] = src[n];
            ++n;
        }
    }
    dst[n] = '\0';
}

void LineCopy(char* dst, std::size_t limit, const char* src) {
    std::size_t n = 0;
    if (src) {
        while (n < limit) {
            const char c = src[n];
            dst[n] = c;
            ++n;
            if (c == '\r' || c == '\n')
                break;
            if (c == '\0') {
                --n; // the NUL is written below
                break;
            }
        }
    }
    dst[n] = '\0';
}

namespace {

// Bytes of the well-formed UTF-8 sequence at `p` (no overlong forms, no
// surrogates, nothing past U+10FFFF); 0 when none starts there.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t left) {
    const unsigned c = p[0];
    if (c < 0x80)
        return 1;
    std::size_t n = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < n || p[1] < low || p[1] > high)
        return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (p[k] < 0x80 || p[k] > 0xBF)
            return 0;
    }
    return n;
}

} // namespace

std::string Utf8FromBytes(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size;) {
        const std::size_t n = Utf8SequenceLength(p + i, size - i);
        if (n != 0) {
            out.append(bytes, i, n);
            i += n;
        } else {
            out.push_back(char(0xC0 | (p[i] >> 6)));
            out.push_back(char(0x80 | (p[i] & 0x3F)));
            ++i;
        }
    }
    return out;
}

std::size_t Utf8PrefixLength(const std::string& text, std::size_t limit) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const std::size_t n = std::max<std::size_t>(1, Utf8SequenceLength(p + i, size - i));
        if (i + n > limit)
            break;
        i += n;
    }
    return i;
}

std::size_t Utf8CharPrefixLength(const std::string& text, std::size_t chars) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t i = 0;
    for (std::size_t count = 0; count < chars && i < text.size(); ++count)
        i += std::max<std::size_t>(1, Utf8SequenceLength(p + i, text.size() - i));
    return i;
}

std::size_t Utf8CharCount(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count)
        i += std::max<std::size_t>(1, Utf8SequenceLength(p + i, text.size() - i));
    return count;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(std::size_t(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), std::size_t(needed));
    }
    va_end(args);
    return out;
}
