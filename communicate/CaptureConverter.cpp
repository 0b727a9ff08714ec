#include "communicate/CaptureConverter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

bool IsLineBreak(int c) {
    return c == '\r' || c == '\n';
}

} // namespace

std::string FormatFixed(double value, int decimals) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(text, result.ptr);
}

// --- Building lines ---------------------------------------------------------

template <class Handle>
void CCaptureConverter::BuildLines(const char* bytes, int count, Handle handle) {
    m_bWriteFailed = false;
    if (m_pLineEnd < m_szLine || m_pLineEnd >= m_szLine + kLineSize)
        m_pLineEnd = m_szLine;
    for (int i = 0; i < count; ++i) {
        *m_pLineEnd++ = bytes[i];
        const int length = int(m_pLineEnd - m_szLine);
        // A full buffer without LF is handled as one line.
        if (bytes[i] != '\n' && length < kLineSize)
            continue;
        m_nLength = length;
        handle(length);
        m_pLineEnd = m_szLine;
    }
}

bool CCaptureConverter::CaptureRawLines(const char* bytes, int count) {
    BuildLines(bytes, count, [this](int length) { RawLine(length); });
    return !m_bWriteFailed;
}

bool CCaptureConverter::CaptureFormattedLines(int kind, const char* bytes, int count) {
    BuildLines(bytes, count, [this, kind](int length) { FormattedLine(kind, length); });
    return !m_bWriteFailed;
}

bool CCaptureConverter::Write(const char* bytes, std::size_t count) {
    if (m_bWriteFailed || !m_pOutput)
        return false;
    if (!m_pOutput->WriteCapture(bytes, count))
        m_bWriteFailed = true;
    return !m_bWriteFailed;
}

// --- Positions in the current line ------------------------------------------

int CCaptureConverter::At(int pos) const {
    if (pos < 0 || pos >= m_nLength)
        return -1;
    return (unsigned char)m_szLine[pos];
}

bool CCaptureConverter::EndText(int endPos, const char* text) const {
    const int n = int(std::strlen(text));
    for (int k = 0; k < n; ++k)
        if (!IsEnd(endPos - k, text[k]))
            return false;
    return true;
}

int CCaptureConverter::DigitEnd(int endPos) const {
    const int c = AtEnd(endPos);
    if (c < 0 || c == ' ')
        return 0;
    return c - '0';
}

long CCaptureConverter::NumberEnd(int first, int last) const {
    long value = 0;
    for (int e = first; e >= last; --e)
        value = value * 10 + DigitEnd(e);
    return value;
}

int CCaptureConverter::ReadInt(int pos) const {
    while (At(pos) == ' ' || At(pos) == '\t')
        ++pos;
    bool negative = false;
    if (At(pos) == '-' || At(pos) == '+')
        negative = At(pos++) == '-';
    int value = 0;
    for (int digits = 0; digits < 9 && At(pos) >= '0' && At(pos) <= '9'; ++digits)
        value = value * 10 + (At(pos++) - '0');
    return negative ? -value : value;
}

bool CCaptureConverter::HourIsEightOrLater() const {
    return At(0) > '0' || At(1) >= '8';
}

// --- Record check -------------------------------------------------------------

void CCaptureConverter::EndSkipping() {
    if (!m_bSkipping)
        return;
    m_bSkipping = 0;
    m_dTotal = m_dStoredTotal;
}

void CCaptureConverter::ReadBookmark() {
    auto number = [this](int pos) {
        const char* p = m_szDumpEvent + pos;
        return (p[0] >= '0' && p[0] <= '9' ? p[0] - '0' : 0) * 10 +
               (p[1] >= '0' && p[1] <= '9' ? p[1] - '0' : 0);
    };
    m_nBookmarkHour = number(0);
    m_nBookmarkMinute = number(3);
    m_nBookmarkSecond = number(6);
}

bool CCaptureConverter::SkipsRecordAt(int timeCol) {
    if (ReadInt(timeCol) != m_nBookmarkHour || ReadInt(timeCol + 3) != m_nBookmarkMinute)
        return false;
    if (ReadInt(timeCol + 6) == m_nBookmarkSecond) {
        // An exact repeat of the stored event: it counts as one more.
        if (m_nSkipCount > 0)
            --m_nSkipCount;
        if (m_nEventRepeats < 255)
            ++m_nEventRepeats;
        if (m_nSkipCount == 0)
            m_dTotal = m_dStoredTotal;
    }
    return true;
}

bool CCaptureConverter::CheckTimeRecord(int n) {
    if (!m_bTracking)
        return false;
    n = std::clamp(n, 0, 17);
    // Only what the line holds before its line end is copied or compared.
    int m = 0;
    while (m < n && At(m) >= 0 && !IsLineBreak(At(m)))
        ++m;

    auto store = [&] {
        std::memcpy(m_szDumpEvent, m_szLine, std::size_t(m));
        m_szDumpEvent[n == 17 ? m : 17] = '\0';
        m_nEventRepeats = 1;
    };

    if (m_bSkipping) {
        if (SkipsRecordAt(0))
            return false;
        EndSkipping();
        store();
        return true;
    }

    if (std::memcmp(m_szLine, m_szDumpEvent, std::size_t(m)) == 0 && m > 0) {
        if (m_nEventRepeats < 255)
            ++m_nEventRepeats;
        return true;
    }
    store();
    if (n == 17 && Is(11, '/') && Is(14, '/')) {
        std::string date;
        for (int pos = 9; pos <= 16 && At(pos) >= 0 && !IsLineBreak(At(pos)); ++pos)
            date += char(At(pos));
        if (m_pOutput)
            m_pOutput->ShowDumpDate("Dump Date: " + date);
    }
    return true;
}

bool CCaptureConverter::CheckCsvRecord() {
    if (!m_bTracking)
        return false;
    // c,DD/MM/YY,HH:MM:SS,value: the time at 11-18, the date at 2-9.
    char stamp[17];
    for (int k = 0; k < 8; ++k) {
        stamp[k] = char(std::max(At(11 + k), 0));
        stamp[9 + k] = char(std::max(At(2 + k), 0));
    }
    stamp[8] = ' ';

    auto store = [&] {
        std::memcpy(m_szDumpEvent, stamp, sizeof stamp);
        m_szDumpEvent[17] = '\0';
        m_nEventRepeats = 1;
    };

    if (m_bSkipping) {
        if (SkipsRecordAt(11))
            return false;
        EndSkipping();
        store();
        return true;
    }

    if (std::memcmp(stamp, m_szDumpEvent, 8) == 0 &&
        std::memcmp(stamp + 9, m_szDumpEvent + 9, 8) == 0) {
        if (m_nEventRepeats < 255)
            ++m_nEventRepeats;
        return true;
    }
    store();
    if (m_pOutput)
        m_pOutput->ShowDumpDate("Dump Date: " + std::string(stamp + 9, 8));
    return true;
}

// --- Raw ------------------------------------------------------------------------

void CCaptureConverter::RawLine(int length) {
    bool checked = false;
    if (m_bTracking) {
        if (m_nSkipCount == 0)
            EndSkipping();
        if (length == 10 && HasTimeColons())
            checked = CheckTimeRecord(8);
        else if (HasTimeColons() && Is(8, ' ') && Is(11, '/') && Is(14, '/'))
            checked = CheckTimeRecord(17);
        else if (HasTimeColons() && Is(8, ' ') && (IsEnd(4, '.') || IsEnd(5, '.') || IsEnd(6, '.')))
            checked = CheckTimeRecord(8);
        else if (Is(1, ',') && Is(4, '/') && Is(7, '/') && Is(10, ',') && Is(13, ':') &&
                 Is(16, ':') && Is(19, ','))
            checked = CheckCsvRecord();
    }
    const bool loneLf = length == 1 && m_szLine[0] == '\n';
    if (!m_bTracking || !m_bSkipping || loneLf || checked)
        Write(m_szLine, std::size_t(length));
}

// --- CSV-1, CSV-2 and Tideda ------------------------------------------------------

namespace {

// A date field; "00" before any date line.
std::string DateField(const char* f) {
    return std::string(1, f[0] ? f[0] : '0') + (f[0] && f[1] ? f[1] : '0');
}

} // namespace

std::string CCaptureConverter::DateCsv() const {
    return DateField(m_szDay) + "/" + DateField(m_szMonth) + "/" + DateField(m_szYear);
}

std::string CCaptureConverter::DateTideda() const {
    return "20" + DateField(m_szYear) + DateField(m_szMonth) + DateField(m_szDay);
}

std::string CCaptureConverter::TimeCsv() const {
    std::string t = "00:00:00";
    for (int pos : {0, 1, 3, 4, 6, 7})
        t[std::size_t(pos)] = At(pos) < 0 ? '0' : char(At(pos));
    return t;
}

std::string CCaptureConverter::TimeTideda() const {
    std::string t;
    for (int pos : {0, 1, 3, 4, 6, 7})
        t += At(pos) < 0 ? '0' : char(At(pos));
    return t;
}

void CCaptureConverter::ReadDate(int pos) {
    auto take = [this](char* field, int at) {
        for (int k = 0; k < 2; ++k) {
            const int c = At(at + k);
            field[k] = c < 0 ? '0' : char(c);
        }
        field[2] = '\0';
    };
    take(m_szDay, pos);
    take(m_szMonth, pos + 3);
    take(m_szYear, pos + 6);
}

bool CCaptureConverter::WriteEightOClock(bool guarded) {
    if (!guarded)
        return false;
    return Write("0    " + DateTideda() + "      080000\r\n");
}

int CCaptureConverter::FormatTidedaHeader(const char* seven, char* out, char type) {
    std::memcpy(out, seven, 7);
    std::memcpy(out + 7, "    1 ", 6);
    const char* word = type == 'I' ? "INCREMENTAL" : "ABSOLUTE";
    const std::size_t n = std::strlen(word);
    std::memcpy(out + 13, word, n);
    out[13 + n] = '\r';
    out[14 + n] = '\n';
    return int(15 + n);
}

void CCaptureConverter::FormattedLine(int kind, int length) {
    if (m_bTracking && m_nSkipCount == 0)
        EndSkipping();
    // A full buffer without its LF matches nothing.
    if (m_szLine[length - 1] != '\n')
        return;

    const bool tideda = kind == CAPTURE_TIDEDA;
    const bool csv = kind == CAPTURE_CSV1 || kind == CAPTURE_CSV2;

    // 1. Rain tip: HH:MM:SS.
    if (length == 10 && HasTimeColons()) {
        const bool r = CheckTimeRecord(8);
        const bool guarded = !m_bTracking || r;
        std::string value;
        if (kind == CAPTURE_CSV1) {
            if (guarded)
                m_dTotal += m_dIncrement;
            value = FormatFixed(m_dTotal, m_nDecimals);
        } else {
            value = FormatFixed(m_dIncrement, m_nDecimals);
        }
        if (tideda) {
            if (m_bPending0800 && HourIsEightOrLater()) {
                m_bPending0800 = 0;
                WriteEightOClock(guarded);
            }
            // Ten times the bucket size, up to two decimals, no trailing zeros.
            std::string tenths = FormatFixed(m_dIncrement * 10.0, 2);
            tenths.erase(tenths.find_last_not_of('0') + 1);
            if (!tenths.empty() && tenths.back() == '.')
                tenths.pop_back();
            if (guarded)
                Write(tenths + "    " + DateTideda() + "      " + TimeTideda() + "\r\n");
        } else if (guarded) {
            Write(DateCsv() + " " + TimeCsv() + "," + value + "\r\n");
        }
        return;
    }

    // 2, 3. The logger connected or disconnected (CSV only).
    if (csv) {
        const char* event = nullptr;
        if (EndText(9, "Connect"))
            event = "LoggerConnect";
        else if (EndText(12, "Disconnect"))
            event = "LoggerDisconnect";
        if (event) {
            ReadDate(9);
            m_dTotal = 0.0;
            if (!(m_bTracking && m_bSkipping))
                Write(DateCsv() + " " + TimeCsv() + "," + event + "\r\n");
            return;
        }
    }

    // 4. Rain increment line: a.b/cd or a.bc/de.
    if (EndText(20, "Rain Increment Set")) {
        if (!IsEnd(21, ' '))
            return;
        if (IsEnd(24, '/') && IsEnd(26, '.')) {
            m_dIncrement = double((10 * DigitEnd(27) + DigitEnd(25)) * NumberEnd(23, 22)) / 10.0;
            m_nDecimals = 1;
        } else if (IsEnd(24, '/') && IsEnd(27, '.')) {
            m_dIncrement = double(NumberEnd(28, 28) * 100 + NumberEnd(26, 25)) *
                           double(NumberEnd(23, 22)) / 100.0;
            m_nDecimals = 2;
        }
        return;
    }

    // 5. Increment line: the number ends at end position 17, '/' at 19.
    if (EndText(15, "Increment Set")) {
        if (!IsEnd(16, ' ') || !IsEnd(19, '/'))
            return;
        const double factor = double(NumberEnd(18, 17));
        if (IsEnd(21, '.') && IsEnd(23, ' ')) {
            m_dIncrement = double(10 * DigitEnd(22) + DigitEnd(20)) * factor / 10.0;
            m_nDecimals = 1;
        } else if (IsEnd(22, '.')) {
            m_dIncrement = double(100 * DigitEnd(23) + NumberEnd(21, 20)) * factor / 100.0;
            m_nDecimals = 2;
        } else if (IsEnd(21, '.') && IsEnd(24, ' ')) {
            m_dIncrement = double(NumberEnd(23, 22) * 10 + DigitEnd(20)) * factor / 10.0;
            m_nDecimals = 1;
        } else if (IsEnd(22, ' ')) {
            m_dIncrement = double(NumberEnd(21, 20)) * factor;
            m_nDecimals = 0;
        } else if (IsEnd(23, ' ')) {
            m_dIncrement = double(NumberEnd(22, 20)) * factor;
            m_nDecimals = 0;
        } else if (IsEnd(24, ' ')) {
            m_dIncrement = double(NumberEnd(23, 20)) * factor;
            m_nDecimals = 0;
        } else if (IsEnd(25, ' ')) {
            m_dIncrement = double(NumberEnd(24, 20)) * factor;
            m_nDecimals = 0;
        }
        return;
    }

    // 6. HH:MM:SS followed by a blank: a date line or a river value.
    if (HasTimeColons() && Is(8, ' ')) {
        if (Is(11, '/') && Is(14, '/')) {
            const bool r = CheckTimeRecord(17);
            const bool midnight =
                Is(0, '0') && Is(1, '0') && Is(3, '0') && Is(4, '0') && Is(6, '0') && Is(7, '0');
            if (midnight) {
                if (tideda && m_bPending0800) {
                    // The event owed for the day that is ending.
                    WriteEightOClock(!m_bTracking || r);
                    m_bPending0800 = 0;
                }
                m_bPending0800 = 1;
            }
            ReadDate(9);
            return;
        }
        if (IsEnd(6, '.') || IsEnd(5, '.')) {
            const bool r = CheckTimeRecord(8);
            const bool guarded = !m_bTracking || r;
            if (tideda) {
                if (m_bPending0800 && HourIsEightOrLater())
                    WriteEightOClock(guarded);
                m_bPending0800 = 0;
                int end = 9;
                while (At(end) >= 0 && !IsLineBreak(At(end)))
                    ++end;
                if (guarded)
                    Write(std::string(m_szLine + 9, m_szLine + end) + "    " + DateTideda() +
                          "      " + TimeTideda() + "\r\n");
            } else if (guarded) {
                Write(DateCsv() + " " + TimeCsv() + "," +
                      std::string(m_szLine + 9, m_szLine + length));
            }
            return;
        }
    }

    // 7, 8, 9. Headers and the end of records; while the records of an
    // earlier call are skipped, headers are read for their bucket size only.
    HeaderLine(kind, m_bTracking && m_bSkipping);
}

bool CCaptureConverter::IsCodeAt(int d) const {
    return (IsEnd(d, ' ') && ((IsEnd(d - 1, 'H') && IsEnd(d - 2, 'S')) ||
                              (IsEnd(d - 1, 'M') && IsEnd(d - 2, 'L')))) ||
           (IsEnd(d + 2, ' ') && IsEnd(d + 1, 'M') && (IsEnd(d, 'J') || IsEnd(d, 'L')));
}

void CCaptureConverter::TakeHeader(int kind, bool skipping, int d, double increment, int decimals) {
    m_dIncrement = increment;
    m_nDecimals = decimals;
    if (skipping)
        return;
    m_dTotal = 0.0;
    WriteHeader(kind, d, 'I');
}

void CCaptureConverter::WriteHeader(int kind, int d, char type) {
    if (kind != CAPTURE_TIDEDA) {
        Write(m_szLine, std::size_t(m_nLength));
        return;
    }
    // The seven characters before the code at end position d.
    char seven[7];
    for (int k = 0; k < 7; ++k)
        seven[k] = char(std::max(AtEnd(d + 7 - k), 0));
    char record[32];
    Write(record, std::size_t(FormatTidedaHeader(seven, record, type)));
}

void CCaptureConverter::HeaderLine(int kind, bool skipping) {
    const int len = m_nLength;

    // A: a.b or ab.c.
    if (len >= 22 && len <= 39 && IsEnd(4, '.')) {
        if (IsCodeAt(13))
            TakeHeader(kind, skipping, 13, double(10 * DigitEnd(5) + DigitEnd(3)) / 10.0, 1);
        else if (IsCodeAt(14))
            TakeHeader(kind, skipping, 14, double(NumberEnd(6, 5) * 10 + DigitEnd(3)) / 10.0, 1);
        return;
    }
    // B: a.bc, the digit before the point counted with either code place.
    if (len >= 22 && len <= 40 && IsEnd(5, '.')) {
        const double increment = double(100 * DigitEnd(6) + NumberEnd(4, 3)) / 100.0;
        if (IsCodeAt(13))
            TakeHeader(kind, skipping, 13, increment, 2);
        else if (IsCodeAt(14))
            TakeHeader(kind, skipping, 14, increment, 2);
        return;
    }
    // C1 to C5: whole numbers of one to five digits.
    struct WholeTest {
        int minLen, maxLen, blankAt, codeAt;
    };
    const WholeTest whole[] = {
        {21, 37, 4, 11}, {22, 38, 5, 12}, {22, 38, 6, 13}, {22, 39, 7, 14}, {22, 40, 8, 15}};
    for (const WholeTest& t : whole) {
        if (len < t.minLen || len > t.maxLen || !IsEnd(t.blankAt, ' '))
            continue;
        if (IsCodeAt(t.codeAt)) {
            TakeHeader(kind, skipping, t.codeAt, double(NumberEnd(t.blankAt - 1, 3)), 0);
            return;
        }
        if (t.codeAt == 15)
            return;
    }
    if (skipping)
        return;
    // D: an absolute (river) header.
    if (len >= 20 && len <= 39) {
        for (int d = 11; d <= 14; ++d) {
            if (IsEnd(d, ' ') && ((IsEnd(d - 1, 'H') && IsEnd(d - 2, 'S')) ||
                                  (IsEnd(d - 1, 'M') && IsEnd(d - 2, 'A')))) {
                WriteHeader(kind, d, 'A');
                return;
            }
        }
        return;
    }
    // 9. End of records.
    if (len >= 10 && std::memcmp(m_szLine, "Record End", 10) == 0 && kind != CAPTURE_TIDEDA)
        Write("Record End\r\n");
}
