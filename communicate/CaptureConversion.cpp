// The CSV-1, CSV-2 and Tideda writers of the capture converter: the logger's
// lines read for their dates, bucket sizes and headers, and written as
// records of each form.
#include <algorithm>
#include <cstring>

#include "communicate/CaptureConverter.h"

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

std::string CCaptureConverter::CsvRecord(const std::string& value) const {
    return DateCsv() + " " + TimeCsv() + "," + value;
}

std::string CCaptureConverter::TidedaRecord(const std::string& value) const {
    return value + "    " + DateTideda() + "      " + TimeTideda() + "\r\n";
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

void CCaptureConverter::FormattedLine(CaptureKind kind, int length) {
    if (m_bTracking && m_nSkipCount == 0)
        EndSkipping();
    // A full buffer without its LF matches nothing.
    if (m_szLine[length - 1] != '\n')
        return;
    if (kind == CaptureKind::Csv1)
        Csv1Line(length);
    else if (kind == CaptureKind::Csv2)
        Csv2Line(length);
    else if (kind == CaptureKind::Tideda)
        TidedaLine(length);
}

// CSV-1: a rain tip carries the running total.
void CCaptureConverter::Csv1Line(int length) {
    if (!IsRainTip(length)) {
        CsvLine(length);
        return;
    }
    const bool guarded = Guarded(CheckTimeRecord(8));
    if (guarded) {
        m_dTotal += m_dIncrement;
        Write(CsvRecord(FormatFixed(m_dTotal, m_nDecimals) + "\r\n"));
    }
}

// CSV-2: a rain tip carries the bucket size.
void CCaptureConverter::Csv2Line(int length) {
    if (!IsRainTip(length)) {
        CsvLine(length);
        return;
    }
    if (Guarded(CheckTimeRecord(8)))
        Write(CsvRecord(FormatFixed(m_dIncrement, m_nDecimals) + "\r\n"));
}

void CCaptureConverter::CsvLine(int length) {
    // The logger connected or disconnected.
    const char* event = EndText(9, "Connect")       ? "LoggerConnect"
                        : EndText(12, "Disconnect") ? "LoggerDisconnect"
                                                    : nullptr;
    if (event) {
        ReadDate(9);
        m_dTotal = 0.0;
        if (!IsSkipping())
            Write(CsvRecord(std::string(event) + "\r\n"));
        return;
    }
    if (ReadIncrementLine())
        return;
    if (IsDateLine()) {
        CheckTimeRecord(17);
        if (IsMidnight())
            m_bPending0800 = 1;
        ReadDate(9);
        return;
    }
    if (IsRiverValue()) {
        if (Guarded(CheckTimeRecord(8)))
            Write(CsvRecord(std::string(m_szLine + 9, m_szLine + length)));
        return;
    }
    // Headers as received, and the end of records.
    const bool skipping = IsSkipping();
    const Header header = ReadHeader(skipping);
    if (header.code != 0)
        Write(m_szLine, std::size_t(m_nLength));
    else if (!header.shaped && !skipping && IsRecordEnd())
        Write("Record End\r\n");
}

// Tideda: fixed columns, with an 08:00 zero event for each day; the logger's
// Connect and Disconnect lines are date lines here.
void CCaptureConverter::TidedaLine(int length) {
    if (IsRainTip(length)) {
        const bool guarded = Guarded(CheckTimeRecord(8));
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
            Write(TidedaRecord(tenths));
        return;
    }
    if (ReadIncrementLine())
        return;
    if (IsDateLine()) {
        const bool guarded = Guarded(CheckTimeRecord(17));
        if (IsMidnight()) {
            // The event owed for the day that is ending.
            if (m_bPending0800)
                WriteEightOClock(guarded);
            m_bPending0800 = 1;
        }
        ReadDate(9);
        return;
    }
    if (IsRiverValue()) {
        const bool guarded = Guarded(CheckTimeRecord(8));
        if (m_bPending0800 && HourIsEightOrLater())
            WriteEightOClock(guarded);
        m_bPending0800 = 0;
        int end = 9;
        while (IsTextAt(end))
            ++end;
        if (guarded)
            Write(TidedaRecord(std::string(m_szLine + 9, m_szLine + end)));
        return;
    }
    const Header header = ReadHeader(IsSkipping());
    if (header.code != 0)
        WriteTidedaHeader(header.code, header.type);
}

// --- Line shapes ------------------------------------------------------------------

bool CCaptureConverter::IsDateLine() const {
    return HasTimeColons() && Is(8, ' ') && Is(11, '/') && Is(14, '/');
}

bool CCaptureConverter::IsRiverValue() const {
    return HasTimeColons() && Is(8, ' ') && (IsEnd(6, '.') || IsEnd(5, '.'));
}

bool CCaptureConverter::IsMidnight() const {
    return Is(0, '0') && Is(1, '0') && Is(3, '0') && Is(4, '0') && Is(6, '0') && Is(7, '0');
}

bool CCaptureConverter::IsRecordEnd() const {
    return m_nLength >= 10 && std::memcmp(m_szLine, "Record End", 10) == 0;
}

bool CCaptureConverter::ReadIncrementLine() {
    // Rain increment line: a.b/cd or a.bc/de.
    if (EndText(20, "Rain Increment Set")) {
        if (!IsEnd(21, ' '))
            return true;
        if (IsEnd(24, '/') && IsEnd(26, '.')) {
            m_dIncrement = double((10 * DigitEnd(27) + DigitEnd(25)) * NumberEnd(23, 22)) / 10.0;
            m_nDecimals = 1;
        } else if (IsEnd(24, '/') && IsEnd(27, '.')) {
            m_dIncrement = double(NumberEnd(28, 28) * 100 + NumberEnd(26, 25)) *
                           double(NumberEnd(23, 22)) / 100.0;
            m_nDecimals = 2;
        }
        return true;
    }

    // Increment line: the number ends at end position 17, '/' at 19.
    if (!EndText(15, "Increment Set"))
        return false;
    if (!IsEnd(16, ' ') || !IsEnd(19, '/'))
        return true;
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
    return true;
}

bool CCaptureConverter::IsCodeAt(int d) const {
    return (IsEnd(d, ' ') && ((IsEnd(d - 1, 'H') && IsEnd(d - 2, 'S')) ||
                              (IsEnd(d - 1, 'M') && IsEnd(d - 2, 'L')))) ||
           (IsEnd(d + 2, ' ') && IsEnd(d + 1, 'M') && (IsEnd(d, 'J') || IsEnd(d, 'L')));
}

CCaptureConverter::Header CCaptureConverter::TakeHeader(bool skipping, int d, double increment,
                                                        int decimals) {
    m_dIncrement = increment;
    m_nDecimals = decimals;
    if (skipping)
        return {true, 0, 0};
    m_dTotal = 0.0;
    return {true, d, 'I'};
}

void CCaptureConverter::WriteTidedaHeader(int d, char type) {
    // The seven characters before the code at end position d.
    char seven[7];
    for (int k = 0; k < 7; ++k)
        seven[k] = char(std::max(AtEnd(d + 7 - k), 0));
    char record[32];
    Write(record, std::size_t(FormatTidedaHeader(seven, record, type)));
}

CCaptureConverter::Header CCaptureConverter::ReadHeader(bool skipping) {
    const int len = m_nLength;

    // A: a.b or ab.c.
    if (len >= 22 && len <= 39 && IsEnd(4, '.')) {
        if (IsCodeAt(13))
            return TakeHeader(skipping, 13, double(10 * DigitEnd(5) + DigitEnd(3)) / 10.0, 1);
        if (IsCodeAt(14))
            return TakeHeader(skipping, 14, double(NumberEnd(6, 5) * 10 + DigitEnd(3)) / 10.0, 1);
        return {true, 0, 0};
    }
    // B: a.bc, the digit before the point counted with either code place.
    if (len >= 22 && len <= 40 && IsEnd(5, '.')) {
        const double increment = double(100 * DigitEnd(6) + NumberEnd(4, 3)) / 100.0;
        if (IsCodeAt(13))
            return TakeHeader(skipping, 13, increment, 2);
        if (IsCodeAt(14))
            return TakeHeader(skipping, 14, increment, 2);
        return {true, 0, 0};
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
        if (IsCodeAt(t.codeAt))
            return TakeHeader(skipping, t.codeAt, double(NumberEnd(t.blankAt - 1, 3)), 0);
        if (t.codeAt == 15)
            return {true, 0, 0};
    }
    if (skipping || len < 20 || len > 39)
        return {};
    // D: an absolute (river) header.
    for (int d = 11; d <= 14; ++d) {
        if (IsEnd(d, ' ') &&
            ((IsEnd(d - 1, 'H') && IsEnd(d - 2, 'S')) || (IsEnd(d - 1, 'M') && IsEnd(d - 2, 'A'))))
            return {true, d, 'A'};
    }
    return {true, 0, 0};
}
