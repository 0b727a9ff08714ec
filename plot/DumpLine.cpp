#include "plot/DumpLine.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "framework/Files.h"

DumpFileSource::DumpFileSource() : m_file(std::make_unique<CFile>()) {}
DumpFileSource::~DumpFileSource() = default;

bool DumpFileSource::Open(const std::string& path) {
    return m_file->Open(path, CFile::modeRead | CFile::typeBinary);
}

std::size_t DumpFileSource::Read(char* buffer, std::size_t count) {
    return m_file->IsOpen() ? m_file->Read(buffer, count) : 0;
}

std::size_t DumpMemorySource::Read(char* buffer, std::size_t count) {
    const std::size_t n = std::min(count, m_bytes.size() - m_pos);
    std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return n;
}

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Index of the first LF in the 16 bytes at `p`, 16 when none.
std::size_t FirstLf16(const char* p) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
    for (std::size_t i = 0; i < 16; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, p + i, 8);
        v ^= 0x0A0A0A0A0A0A0A0Au;
        // The lowest set bit marks the first zero byte exactly.
        const std::uint64_t zero = (v - kOnes) & ~v & kHigh;
        if (zero)
            return i + std::size_t(__builtin_ctzll(zero)) / 8;
    }
    return 16;
}

} // namespace

int DumpLine::IntAtSlow(long col) const {
    if (col < 0)
        return 0;
    std::size_t i = std::size_t(col);
    while (i < size && IsSpace(data[i]))
        ++i;
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-'))
        negative = data[i++] == '-';
    long long v = 0;
    while (i < size && IsDigit(data[i])) {
        if (v < 1LL << 32)
            v = v * 10 + (data[i] - '0');
        ++i;
    }
    if (negative)
        v = -v;
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

bool DumpLine::NumberAt(long col, double* value) const {
    *value = 0.0;
    if (col < 0)
        return false;
    std::size_t i = std::size_t(col);
    while (i < size && IsSpace(data[i]))
        ++i;
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-'))
        negative = data[i++] == '-';
    // The extent of digits [. digits] [e [sign] digits]: no "inf", "nan" or hex.
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < size && IsDigit(data[i]))
        ++i, ++digits;
    if (i < size && data[i] == '.') {
        ++i;
        while (i < size && IsDigit(data[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < size && (data[i] == 'e' || data[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < size && (data[j] == '+' || data[j] == '-'))
            ++j;
        if (j < size && IsDigit(data[j])) {
            while (j < size && IsDigit(data[j]))
                ++j;
            i = j;
        }
    }
    double v = 0.0;
    const auto r = std::from_chars(data + start, data + i, v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v))
        v = 0.0; // out of range: atof's infinity or underflow reads 0
    *value = negative ? -v : v;
    return true;
}

double DumpLine::NumberAt(long col) const {
    double v;
    NumberAt(col, &v);
    return v;
}

long DumpLine::LastBlank() const {
    for (std::size_t i = size; i-- > 0;)
        if (data[i] == ' ')
            return long(i);
    return -1;
}

bool DumpLine::StartsWithNoCase(const char* word) const {
    for (std::size_t i = 0; word[i]; ++i) {
        if (i >= size)
            return false;
        char c = data[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != word[i])
            return false;
    }
    return true;
}

DumpLineReader::DumpLineReader(DumpSource& source, std::size_t blockSize)
    : m_source(source), m_buffer(std::max<std::size_t>(blockSize, 2 * kDumpLineMax)) {}

bool DumpLineReader::Fill() {
    if (m_eof)
        return false;
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    const std::size_t n = m_source.Read(m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (n == 0) {
        m_eof = true;
        return false;
    }
    m_end += n;
    return true;
}

bool DumpLineReader::Next(DumpLine* line) {
    for (;;) {
        const char* begin = m_buffer.data() + m_begin;
        const std::size_t avail = m_end - m_begin;
        if (avail >= 16) {
            // Most lines are short: find their LF without a call.
            const std::size_t i = FirstLf16(begin);
            if (i < 16) {
                *line = DumpLine{begin, i + 1};
                m_begin += i + 1;
                return true;
            }
        }
        const void* lf = std::memchr(begin, '\n', std::min(avail, kDumpLineMax));
        if (lf) {
            const std::size_t n = std::size_t(static_cast<const char*>(lf) - begin) + 1;
            *line = DumpLine{begin, n};
            m_begin += n;
            return true;
        }
        if (avail >= kDumpLineMax) {
            // Too long: keep its first bytes, drop the rest up to its LF.
            std::memcpy(m_long, begin, kDumpLineMax);
            m_begin += kDumpLineMax;
            for (;;) {
                const char* p = m_buffer.data() + m_begin;
                const void* end = std::memchr(p, '\n', m_end - m_begin);
                if (end) {
                    m_begin += std::size_t(static_cast<const char*>(end) - p) + 1;
                    break;
                }
                m_begin = m_end;
                if (!Fill())
                    break;
            }
            *line = DumpLine{m_long, kDumpLineMax};
            return true;
        }
        if (!Fill()) {
            if (avail == 0)
                return false;
            *line = DumpLine{m_buffer.data() + m_begin, avail};
            m_begin = m_end;
            return true;
        }
    }
}

bool TitleIncrement(const DumpLine& line, double* increment) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    long end = long(line.size);
    while (end > 0 &&
           (blank(line.data[end - 1]) || line.data[end - 1] == '\r' || line.data[end - 1] == '\n'))
        --end;
    long word = end;
    while (word > 0 && !blank(line.data[word - 1]))
        --word;
    double v;
    if (word == 0 || !line.NumberAt(word, &v))
        return false;
    *increment = line.At(word) == '.' ? 100.0 * v : v;
    return true;
}

bool IncrementSetting(const DumpLine& line, double* increment) {
    const long b = line.LastBlank();
    if (b < 0)
        return false;
    auto is = [&](long col, const char* text) {
        const std::size_t n = std::strlen(text);
        if (col < 0 || std::size_t(col) + n > line.size)
            return false;
        return std::memcmp(line.data + col, text, n) == 0;
    };
    const long r = b - 14; // "R" of "Rain Increment Set"
    if (is(r, "Rain Increment Set") && line.At(r - 1) == ' ' && line.At(r - 4) == '/') {
        if (line.At(r - 6) == '.') {
            *increment = line.NumberAt(r - 7) * line.NumberAt(r - 3);
            return true;
        }
        if (line.At(r - 7) == '.') {
            *increment = line.NumberAt(r - 8) * line.NumberAt(r - 3);
            return true;
        }
        return false;
    }
    const long i = b - 9; // "I" of "Increment Set"
    if (!is(i, "Increment Set") || line.At(i - 1) != ' ' || line.At(i - 4) != '/')
        return false;
    long a;
    if (line.At(i - 6) == '.' && line.At(i - 8) == ' ')
        a = i - 7;
    else if (line.At(i - 7) == '.')
        a = i - 8;
    else if (line.At(i - 6) == '.' && line.At(i - 9) == ' ')
        a = i - 8;
    else if (line.At(i - 7) == ' ')
        a = i - 6;
    else if (line.At(i - 8) == ' ')
        a = i - 7;
    else if (line.At(i - 9) == ' ')
        a = i - 8;
    else if (line.At(i - 10) == ' ')
        a = i - 9;
    else
        return false;
    *increment = line.NumberAt(a) * line.NumberAt(i - 3);
    return true;
}
