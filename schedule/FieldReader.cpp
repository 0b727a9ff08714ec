#include "schedule/FieldReader.h"

#include "framework/Files.h"

namespace {

bool EndsField(char c) {
    return c == ',' || c == '\r' || c == '\n' || c == '\0';
}

} // namespace

const char* CopyField(const char* source, char* dest, std::size_t destSize) {
    std::size_t kept = 0;
    while (!EndsField(*source)) {
        if (kept + 1 < destSize)
            dest[kept++] = *source;
        ++source;
    }
    if (destSize > 0)
        dest[kept] = '\0';
    return *source == ',' ? source + 1 : source;
}

std::size_t ReadFileLine(CFile& file, char* buffer, std::size_t size) {
    std::size_t kept = 0;
    bool any = false;
    char c = 0;
    while (file.Read(&c, 1) == 1) {
        if (!any && size > 0)
            buffer[0] = '\0';
        any = true;
        if (kept + 1 < size)
            buffer[kept++] = c;
        if (c == '\n')
            break;
    }
    if (any && size > 0)
        buffer[kept] = '\0';
    return kept;
}
