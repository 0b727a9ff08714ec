// The capture writers of the Communicate page: lines built from received
// bytes, written as received (Raw) or converted to CSV-1, CSV-2 and Tideda
// records, and the record check with which a tracked dump command skips
// what an earlier call captured. No Qt in here.
#pragma once

#include <cstddef>
#include <string>

// CaptureKind.
enum : int {
    CAPTURE_NONE = 0,
    CAPTURE_RAW = 1,
    CAPTURE_CSV1 = 2,
    CAPTURE_CSV2 = 3,
    CAPTURE_TIDEDA = 4,
};

// Where the writers put their bytes and their "Dump Date" text.
class CaptureOutput {
public:
    virtual ~CaptureOutput() = default;
    // False when not every byte could be written.
    virtual bool WriteCapture(const char* bytes, std::size_t count) = 0;
    virtual void ShowDumpDate(const std::string& text) = 0;
};

// Fixed-point text of `value` with `decimals` places, in the C locale
// whatever the process locale is.
std::string FormatFixed(double value, int decimals);

class CCaptureConverter {
public:
    static constexpr int kLineSize = 500;

    explicit CCaptureConverter(CaptureOutput* output = nullptr) : m_pOutput(output) {}
    CCaptureConverter(const CCaptureConverter&) = delete;
    CCaptureConverter& operator=(const CCaptureConverter&) = delete;

    // Drops a partial line.
    void RestartLine() { m_pLineEnd = m_szLine; }

    // Both return false once a write has failed; the rest of the bytes are
    // then taken into lines but nothing more is written.
    bool CaptureRawLines(const char* bytes, int count);
    bool CaptureFormattedLines(int kind, const char* bytes, int count);

    // The record check of the complete line in m_szLine: true when the line
    // is to be written. n is 17 for HH:MM:SS DD/MM/YY and 8 for HH:MM:SS.
    bool CheckTimeRecord(int n);
    // The same for a c,DD/MM/YY,HH:MM:SS,value line.
    bool CheckCsvRecord();

    // Seven characters, "    1 ", "INCREMENTAL" ('I') or "ABSOLUTE", CR LF
    // into `out` (at least 27 bytes); returns the length, 26 or 23.
    static int FormatTidedaHeader(const char* seven, char* out, char type);

    // The bookmark's time from m_szDumpEvent (HH:MM:SS at its start).
    void ReadBookmark();

    // The line being assembled.
    char m_szLine[kLineSize] = {};
    char* m_pLineEnd = m_szLine;

    // Conversion state.
    char m_szDay[3] = {};
    char m_szMonth[3] = {};
    char m_szYear[3] = {};
    double m_dTotal = 0.0;
    double m_dIncrement = 0.0;
    int m_nDecimals = 0;
    unsigned char m_bPending0800 = 0;

    // Tracked dump command of a scheduled call.
    char m_szDumpEvent[20] = {};
    char m_cDumpEventCommand = 0;
    unsigned char m_bSkipping = 0;
    unsigned char m_bTracking = 0;
    int m_nBookmarkHour = 0;
    int m_nBookmarkMinute = 0;
    int m_nBookmarkSecond = 0;
    unsigned char m_nSkipCount = 0;
    unsigned char m_nEventRepeats = 0;
    double m_dStoredTotal = 0.0;
    char m_szTotalText[15] = {};

private:
    // Takes bytes into lines; calls handle(line length) for each complete
    // one (ended by LF, or a full buffer).
    template <class Handle> void BuildLines(const char* bytes, int count, Handle handle);
    void RawLine(int length);
    void FormattedLine(int kind, int length);
    // Skipping is over: the stored running total takes over, once.
    void EndSkipping();
    // While skipping: whether the record whose time starts at `timeCol` is
    // at the stored event's hour and minute, and so skipped.
    bool SkipsRecordAt(int timeCol);
    bool Write(const char* bytes, std::size_t count);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }

    // Characters of the current line: -1 outside it.
    int At(int pos) const;
    int AtEnd(int endPos) const { return At(m_nLength - endPos); }
    bool Is(int pos, char c) const { return At(pos) == (unsigned char)c; }
    bool IsEnd(int endPos, char c) const { return AtEnd(endPos) == (unsigned char)c; }
    bool EndText(int endPos, const char* text) const;
    // A digit at an end position: outside the line or a blank counts as 0.
    int DigitEnd(int endPos) const;
    // Digits from end position `first` down to `last`, as one number.
    long NumberEnd(int first, int last) const;
    int ReadInt(int pos) const;
    bool HasTimeColons() const { return Is(2, ':') && Is(5, ':'); }
    bool HourIsEightOrLater() const;

    std::string DateCsv() const;    // DD/MM/YY
    std::string DateTideda() const; // 20YYMMDD
    std::string TimeCsv() const;    // HH:MM:SS
    std::string TimeTideda() const; // HHMMSS
    void ReadDate(int pos);
    bool WriteEightOClock(bool guarded);
    // Header lines and "Record End".
    void HeaderLine(int kind, bool skipping);
    bool IsCodeAt(int d) const;
    void TakeHeader(int kind, bool skipping, int d, double increment, int decimals);
    // The header line as it came, or as a Tideda header of `type` ('I', 'A').
    void WriteHeader(int kind, int d, char type);

    CaptureOutput* m_pOutput;
    int m_nLength = 0;
    bool m_bWriteFailed = false;
};
