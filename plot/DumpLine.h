// Reading dump files line by line: the byte sources, the line reader, and
// the column, number and increment helpers that the dump reader and the
// rain-total count share. No Qt in here.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CFile;

// Where the bytes of a dump come from.
class DumpSource {
public:
    virtual ~DumpSource() = default;
    // Up to `count` bytes into `buffer`; 0 at the end.
    virtual std::size_t Read(char* buffer, std::size_t count) = 0;
};

class DumpFileSource : public DumpSource {
public:
    DumpFileSource();
    ~DumpFileSource() override;
    // Opens read-only, binary.
    bool Open(const std::string& path);
    std::size_t Read(char* buffer, std::size_t count) override;

private:
    std::unique_ptr<CFile> m_file;
};

class DumpMemorySource : public DumpSource {
public:
    explicit DumpMemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::size_t Read(char* buffer, std::size_t count) override;

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
};

// One line, its CR and LF included, at most kDumpLineMax bytes. Every byte
// and number is read within the line only: a column outside it holds no byte
// (0) and no number (0).
constexpr std::size_t kDumpLineMax = 200;

struct DumpLine {
    const char* data = nullptr;
    std::size_t size = 0;

    char At(long col) const { return col >= 0 && std::size_t(col) < size ? data[col] : '\0'; }
    // atoi at `col`, saturating.
    int IntAt(long col) const {
        // Fast path: the two-digit fields of times and dates.
        if (col >= 0 && std::size_t(col) + 2 < size) {
            const unsigned a = unsigned(data[col] - '0'), b = unsigned(data[col + 1] - '0');
            const unsigned c = unsigned(data[col + 2] - '0');
            if (a < 10 && b < 10 && c >= 10)
                return int(a * 10 + b);
        }
        return IntAtSlow(col);
    }
    int IntAtSlow(long col) const;
    // atof at `col`; a non-finite result reads 0.
    double NumberAt(long col) const;
    // As NumberAt; false when no digit starts there.
    bool NumberAt(long col, double* value) const;
    // Index of the last blank, -1 when none.
    long LastBlank() const;
    // Whether the line begins with `word`, ignoring letter case.
    bool StartsWithNoCase(const char* word) const;
};

// Reads lines from a source in large blocks, parsing them in place. A line
// ends after its LF or at the end of the source; a line over kDumpLineMax
// bytes keeps its first kDumpLineMax and the rest up to its LF is dropped.
class DumpLineReader {
public:
    explicit DumpLineReader(DumpSource& source, std::size_t blockSize = 1u << 16);
    // False at the end; the line stays valid until the next call.
    bool Next(DumpLine* line);
    // The bytes read past the last line, for a caller that takes whole lines
    // in place; Skip passes `count` of them (at most as many as there are).
    const char* Buffered(std::size_t* count) const {
        *count = m_end - m_begin;
        return m_buffer.data() + m_begin;
    }
    void Skip(std::size_t count) { m_begin += std::min(count, m_end - m_begin); }

private:
    bool Fill();

    DumpSource& m_source;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0, m_end = 0;
    bool m_eof = false;
    char m_long[kDumpLineMax];
};

// The rain increment a rain dump's title line gives: its last word after a
// blank or tab (trailing blanks, tabs and the line end skipped) read as a
// number, times 100 when the word starts with ".". False (increment kept)
// when there is no such word or it is no number.
bool TitleIncrement(const DumpLine& line, double* increment);
// The increment setting a date line may end with ("... d.d/bb Rain Increment
// Set", "... a/bb Increment Set"); false leaves the increment unchanged.
bool IncrementSetting(const DumpLine& line, double* increment);
