// The capture writers of the Communicate page: lines built from received
// bytes, written as received (Raw) or converted to CSV-1, CSV-2 and Tideda
// records, and the record check with which a tracked dump command skips
// what an earlier call captured. The CSV-1, CSV-2 and Tideda writers are in
// CaptureConversion.cpp. No Qt in here.
#pragma once

#include <cstddef>
#include <string>

#include "communicate/CaptureKind.h"

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

// A running total as at most 14 characters: six decimals, fewer when the
// integer digits need the room (never fewer integer digits). `out` holds 15.
void FormatTotalText(double total, char* out);
// The stored total text as a number; 0 when it is not one.
double ReadTotalText(const char* text);

// What the CSV-1, CSV-2 and Tideda writers carry from line to line, and
// from one capture to the next.
struct CaptureConversion {
    char m_szDay[3] = {};
    char m_szMonth[3] = {};
    char m_szYear[3] = {};
    double m_dTotal = 0.0;     // running rain total (CSV-1)
    double m_dIncrement = 0.0; // rain per tip
    int m_nDecimals = 0;
    unsigned char m_bPending0800 = 0; // Tideda: an 08:00 zero event is owed
};

// The converter's state is its own, changed only by the lines it takes and
// by its operations.
class CCaptureConverter : private CaptureConversion {
public:
    static constexpr int kLineSize = 500;

    // `conversion`: the state to carry on from.
    explicit CCaptureConverter(CaptureOutput* output = nullptr,
                               const CaptureConversion& conversion = {})
        : CaptureConversion(conversion), m_pOutput(output) {}
    CCaptureConverter(const CCaptureConverter&) = delete;
    CCaptureConverter& operator=(const CCaptureConverter&) = delete;

    // A capture of `kind` starts: a partial line is dropped, and for Tideda
    // the 08:00 event owed. The date, bucket size and total carry on.
    void StartCapture(CaptureKind kind);

    // Both return false once a write has failed; the rest of the bytes are
    // then taken into lines but nothing more is written.
    bool CaptureRawLines(const char* bytes, int count);
    bool CaptureFormattedLines(CaptureKind kind, const char* bytes, int count);

    // Seven characters, "    1 ", "INCREMENTAL" ('I') or "ABSOLUTE", CR LF
    // into `out` (at least 27 bytes); returns the length, 26 or 23.
    static int FormatTidedaHeader(const char* seven, char* out, char type);

    // The tracked dump command of a scheduled call.
    // A call starts with its site's tracked command ('0' none, '1' to '3')
    // and last dump event (at most 19 characters kept); the totals, the skip
    // count and the repeats start from 0.
    void BeginCall(char dumpEventCommand, const char* lastDumpEvent);
    // No command is tracked, so nothing is handed back for the last call.
    void ClearTrackedCommand();
    // Neither tracking nor skipping: every command starts so, and so does a
    // capture started by hand.
    void StopTracking();
    // The running command is the tracked one; its total starts from 0.
    void BeginTracking();
    // Records up to the stored dump event are skipped: `repeats` records at
    // its exact time, after which the stored total (`totalText`, at most 14
    // characters kept) carries on.
    void BeginSkipping(unsigned char repeats, const char* totalText);

    char DumpEventCommand() const { return m_cDumpEventCommand; }
    bool HasDumpEvent() const { return m_szDumpEvent[0] != '\0'; }
    const char* DumpEvent() const { return m_szDumpEvent; }
    // Records captured by an earlier call are still being skipped.
    bool IsSkipping() const { return m_bTracking && m_bSkipping; }
    unsigned char EventRepeats() const { return m_nEventRepeats; }
    // The site's total as it was given at the start of skipping.
    const char* StoredTotalText() const { return m_szTotalText; }
    // The running total as handed back, at most 14 characters.
    std::string TotalText() const;
    const CaptureConversion& Conversion() const { return *this; }

private:
    // Takes bytes into lines; calls handle(line length) for each complete
    // one (ended by LF, or a full buffer).
    template <class Handle> void BuildLines(const char* bytes, int count, Handle handle);
    bool Write(const char* bytes, std::size_t count);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }

    // The writers of one complete line, one per form; FormattedLine hands
    // the line to the writer of `kind`.
    void RawLine(int length);
    void FormattedLine(CaptureKind kind, int length);
    void Csv1Line(int length);
    void Csv2Line(int length);
    void TidedaLine(int length);
    // What CSV-1 and CSV-2 write alike: all but the rain tip.
    void CsvLine(int length);

    // The record check of the complete line: true when the line is to be
    // written. n is 17 for HH:MM:SS DD/MM/YY and 8 for HH:MM:SS.
    bool CheckTimeRecord(int n);
    // The same for a c,DD/MM/YY,HH:MM:SS,value line.
    bool CheckCsvRecord();
    // A record guarded by the check's result `checked` is written.
    bool Guarded(bool checked) const { return !m_bTracking || checked; }
    // The bookmark's time from m_szDumpEvent (HH:MM:SS at its start).
    void ReadBookmark();
    // Skipping is over: the stored running total takes over, once.
    void EndSkipping();
    // While skipping: whether the record whose time starts at `timeCol` is
    // at the stored event's hour and minute, and so skipped.
    bool SkipsRecordAt(int timeCol);

    // Characters of the current line: -1 outside it.
    int At(int pos) const;
    // A character of the line's text: inside the line and no CR or LF.
    bool IsTextAt(int pos) const { return At(pos) >= 0 && At(pos) != '\r' && At(pos) != '\n'; }
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

    // Shapes of the converted lines.
    bool IsRainTip(int length) const { return length == 10 && HasTimeColons(); }
    bool IsDateLine() const;   // HH:MM:SS DD/MM/YY, anything after it
    bool IsRiverValue() const; // HH:MM:SS value with two or three decimals
    bool IsMidnight() const;
    bool IsRecordEnd() const;
    // A "Rain Increment Set" or "Increment Set" line, read for the bucket
    // size; false for any other line.
    bool ReadIncrementLine();
    // Header lines: tests A to D, the first that fits the line's shape
    // deciding. A to C set the bucket size and, outside skipping, start the
    // total afresh; while skipping nothing is written and D is not tried.
    struct Header {
        bool shaped = false; // a test fitted; else the line may be "Record End"
        int code = 0;        // end position of the code to write; 0: nothing
        char type = 0;       // 'I' incremental, 'A' absolute
    };
    Header ReadHeader(bool skipping);
    bool IsCodeAt(int d) const;
    Header TakeHeader(bool skipping, int d, double increment, int decimals);

    std::string DateCsv() const;    // DD/MM/YY
    std::string DateTideda() const; // 20YYMMDD
    std::string TimeCsv() const;    // HH:MM:SS
    std::string TimeTideda() const; // HHMMSS
    void ReadDate(int pos);
    // DD/MM/YY HH:MM:SS,value (the value brings its own line end).
    std::string CsvRecord(const std::string& value) const;
    // value, four blanks, 20YYMMDD, six blanks, HHMMSS, CR LF.
    std::string TidedaRecord(const std::string& value) const;
    bool WriteEightOClock(bool guarded);
    // The Tideda header record of the code at end position d.
    void WriteTidedaHeader(int d, char type);

    // The line being assembled.
    char m_szLine[kLineSize] = {};
    char* m_pLineEnd = m_szLine;
    int m_nLength = 0;

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

    CaptureOutput* m_pOutput;
    bool m_bWriteFailed = false;
};
