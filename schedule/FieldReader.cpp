#include "schedule/FieldReader.h"

#include "framework/FileReader.h"

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

std::size_t ReadFileLine(CFileReader& file, char* buffer, std::size_t size) {
    return file.ReadLine(buffer, size);
}
