#include "framework/Text.h"

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
