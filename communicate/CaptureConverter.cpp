#include "communicate/CaptureConverter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

std::string FormatFixed(double value, int decimals) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(text, result.ptr);
}

void FormatTotalText(double total, char* out) {
    std::string text;
    if (std::fabs(total) < 1e20)
        for (int decimals = 6; decimals >= 0; --decimals)
            if ((text = FormatFixed(total, decimals)).size() <= 14)
                break;
    if (text.empty() || text.size() > 14) {
        // Past 14 integer digits (or not a number): the exponent form.
        char buffer[32];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, total, std::chars_format::scientific, 6);
        text = r.ec == std::errc() ? std::string(buffer, r.ptr) : std::string("0");
    }
    if (text.size() > 14)
        text.resize(14);
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
}

double ReadTotalText(const char* text) {
    double value = 0.0;
    const char* end = text + strnlen(text, 14);
    while (text < end && *text == ' ')
        ++text;
    if (text < end && *text == '+')
        ++text;
    if (std::from_chars(text, end, value).ec != std::errc())
        return 0.0;
    return value;
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

bool CCaptureConverter::CaptureFormattedLines(CaptureKind kind, const char* bytes, int count) {
    BuildLines(bytes, count, [this, kind](int length) { FormattedLine(kind, length); });
    return !m_bWriteFailed;
}

void CCaptureConverter::StartCapture(CaptureKind kind) {
    m_pLineEnd = m_szLine;
    if (kind == CaptureKind::Tideda)
        m_bPending0800 = 0;
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

// --- Tracked dump command ----------------------------------------------------

void CCaptureConverter::BeginCall(char dumpEventCommand, const char* lastDumpEvent) {
    m_cDumpEventCommand = dumpEventCommand;
    // What lies past the event's NUL stays as it was.
    const std::size_t n = lastDumpEvent ? strnlen(lastDumpEvent, sizeof m_szDumpEvent - 1) : 0;
    if (n > 0)
        std::memcpy(m_szDumpEvent, lastDumpEvent, n);
    m_szDumpEvent[n] = '\0';
    m_dStoredTotal = 0.0;
    m_dTotal = 0.0;
    m_nSkipCount = 0;
    m_nEventRepeats = 0;
}

void CCaptureConverter::ClearTrackedCommand() {
    m_cDumpEventCommand = 0;
    StopTracking();
}

void CCaptureConverter::StopTracking() {
    m_bTracking = 0;
    m_bSkipping = 0;
}

void CCaptureConverter::BeginTracking() {
    m_bTracking = 1;
    m_dTotal = 0.0;
}

void CCaptureConverter::BeginSkipping(unsigned char repeats, const char* totalText) {
    m_bSkipping = 1;
    m_nSkipCount = repeats;
    const std::size_t n = totalText ? strnlen(totalText, sizeof m_szTotalText - 1) : 0;
    if (n > 0)
        std::memcpy(m_szTotalText, totalText, n);
    m_szTotalText[n] = '\0';
    m_dStoredTotal = ReadTotalText(m_szTotalText);
    ReadBookmark();
}

std::string CCaptureConverter::TotalText() const {
    char text[15];
    FormatTotalText(m_dTotal, text);
    return text;
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
    while (m < n && IsTextAt(m))
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
        for (int pos = 9; pos <= 16 && IsTextAt(pos); ++pos)
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
