#include "plot/DumpReader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

const char kIllegalDateDmy[] = "Illegal date, try swapping DMY to MDY !";
const char kIllegalDateMdy[] = "Illegal date, try swapping MDY to DMY !";
const char kNoBucketSize[] = "Bucket size not found in the title; 1.0 used";

std::int64_t CollectionPeriodSeconds(int periodIndex) {
    switch (periodIndex) {
    case 1:
        return 3600;
    case 2:
        return 15 * 60;
    case 3:
        return 10 * 60;
    case 4:
        return 5 * 60;
    default:
        return 86400;
    }
}

std::uint8_t ClassifyDumpLine(const DumpLine& line, bool* slash) {
    struct Word {
        const char* word;
        std::uint8_t kind;
    };
    // In this order: longer words before the words they begin with.
    static const Word kWords[] = {
        {"durv", PLOT_KIND_RIVER},      {"dur", PLOT_KIND_RAIN},
        {"dubvi", PLOT_KIND_BATT_INT},  {"dubve", PLOT_KIND_BATT_EXT},
        {"dubvt", PLOT_KIND_BATT_TEMP}, {"dubv", PLOT_KIND_BATT},
        {"dutmp", PLOT_KIND_TEMP},      {"duall", PLOT_KIND_ALL},
    };
    *slash = false;
    for (const Word& w : kWords) {
        if (line.StartsWithNoCase(w.word)) {
            *slash = line.At(long(std::char_traits<char>::length(w.word))) == '/';
            return w.kind;
        }
    }
    return PLOT_KIND_NONE;
}

int DumpYear(int field) {
    const long long year = field < 80 ? field + 2000LL : field + 1900LL;
    return int(std::min<long long>(year, INT_MAX));
}

bool DumpDateLine(const DumpLine& line, bool dayFirst, int* day, int* month, int* year) {
    if (line.At(8) != ' ' || line.At(11) != '/' || line.At(14) != '/')
        return false;
    const int a = line.IntAt(9), b = line.IntAt(12);
    *day = dayFirst ? a : b;
    *month = dayFirst ? b : a;
    *year = DumpYear(line.IntAt(15));
    return true;
}

PlotSeconds AllRecordTime(const DumpLine& line, bool dayFirst, int* month) {
    const int a = line.IntAt(2), b = line.IntAt(5);
    *month = dayFirst ? b : a;
    return MakePlotTime(DumpYear(line.IntAt(8)), *month, dayFirst ? a : b, line.IntAt(11),
                        line.IntAt(14), line.IntAt(17));
}

namespace {

const char* TitleFormat(std::uint8_t kind) {
    switch (kind) {
    case PLOT_KIND_RAIN:
        return "Rainfall Plot :  ";
    case PLOT_KIND_RIVER:
        return "River Plot :  ";
    case PLOT_KIND_BATT:
        return "BattV Internal + External Plot :  ";
    case PLOT_KIND_BATT_INT:
        return "BattV Internal Plot :  ";
    case PLOT_KIND_BATT_EXT:
        return "BattV External Plot :  ";
    case PLOT_KIND_BATT_TEMP:
        return "BattV + Temp Plot :  ";
    case PLOT_KIND_TEMP:
        return "Temperature Plot :  ";
    case PLOT_KIND_ALL:
        return "Plot of All Parameters :  ";
    default:
        return "";
    }
}

// Start of the collection period holding `t`, by the period's index.
PlotSeconds TruncateToPeriod(PlotSeconds t, int periodIndex) {
    const PlotFields f = PlotTimeFields(t);
    const PlotSeconds day = t - (f.hour * 3600 + f.minute * 60 + f.second);
    switch (periodIndex) {
    case 1:
        return day + f.hour * 3600;
    case 2:
        return day + f.hour * 3600 + f.minute / 15 * 15 * 60;
    case 3:
        return day + f.hour * 3600 + f.minute / 10 * 10 * 60;
    case 4:
        return day + f.hour * 3600 + f.minute / 5 * 5 * 60;
    default:
        return day;
    }
}

class Reader {
public:
    Reader(const DumpReadOptions& options, DumpSink& sink) : m_options(options), m_sink(sink) {
        SetDate(1, 1, 2000);
    }

    void Run(DumpSource& source, DumpReadResult* result);

private:
    void SetDate(int day, int month, int year) {
        m_dayStart = MakePlotTime(year, month, day, 0, 0, 0);
    }
    bool Illegal(int month) {
        if (month <= 12)
            return false;
        m_sink.OnMessage(m_options.dayFirst ? kIllegalDateDmy : kIllegalDateMdy);
        return true;
    }
    void Title(const DumpLine& line);
    // False when the reading stops (an illegal month).
    bool RecordPointKinds(const DumpLine& line);
    bool RecordAll(const DumpLine& line);
    // The records of a rain dump, runs of tip lines taken in place.
    bool RainRecords(DumpLineReader& lines);
    // Takes the tip lines ("hh:mm:ss" and its line end) at the start of
    // `bytes` as RecordPointKinds would; returns the bytes taken.
    std::size_t TipLines(const char* bytes, std::size_t count);
    // The range and rain-sum steps every record takes; `values` of the line.
    [[gnu::always_inline]] inline void Record(PlotSeconds t, const double* values, int count,
                                              bool rainLine, double rain);
    void ClosePeriods(PlotSeconds t);
    void Emit(int series, PlotSeconds t, double value) {
        m_sink.OnPoint(series, PlotTimeToOle(t), value);
    }

    const DumpReadOptions& m_options;
    DumpSink& m_sink;
    std::uint8_t m_kind = PLOT_KIND_NONE;
    PlotSeconds m_dayStart = kNoTime;
    double m_w = 0.0, m_w1 = 0.0, m_w2 = 0.0, m_w3 = 0.0;
    bool m_firstRecord = true;
    bool m_haveStart = false; // a record with a valid time has been read
    double m_increment = 1.0;
    bool m_titleIncrement = false;
    std::int64_t m_period = 0;
    PlotSeconds m_start = 0;
    double m_total = 0.0;
    double m_last = -5.0;
    PlotSeconds m_earliest = 0, m_latest = 0;
    double m_low = 0.0, m_high = 0.0;
};

void Reader::Title(const DumpLine& line) {
    std::size_t n = line.size;
    if (n > 0 && line.data[n - 1] == '\n') {
        --n;
        if (n > 0 && line.data[n - 1] == '\r')
            --n;
    }
    std::string text(line.data, n);
    if (m_kind == PLOT_KIND_RAIN) {
        m_titleIncrement = TitleIncrement(line, &m_increment);
        if (line.LastBlank() < 0) {
            m_sink.OnTitle(text);
            return;
        }
    }
    m_sink.OnTitle(TitleFormat(m_kind) + text);
}

void Reader::ClosePeriods(PlotSeconds t) {
    while (t > m_start + m_period) {
        if (m_total == 0.0 && m_last == 0.0) {
            // Dry periods emit nothing: step over them at once.
            m_start += (t - m_start - 1) / m_period * m_period;
            break;
        }
        if (std::fabs(m_total - m_last) > 0.001)
            Emit(SERIES_RAIN, m_start, m_total);
        m_last = m_total;
        m_total = 0.0;
        m_start += m_period;
    }
}

inline void Reader::Record(PlotSeconds t, const double* values, int count, bool rainLine,
                           double rain) {
    if (m_firstRecord) {
        m_firstRecord = false;
        m_low = m_kind == PLOT_KIND_RAIN ? -2.0 : values[0];
        m_high = values[0];
    }
    if (t != kNoTime) {
        if (!m_haveStart) {
            m_haveStart = true;
            const bool sums = m_kind == PLOT_KIND_RAIN || m_kind == PLOT_KIND_ALL;
            m_start = TruncateToPeriod(t, m_options.periodIndex);
            m_earliest = sums ? m_start : t;
            m_latest = t;
        }
        m_earliest = std::min(m_earliest, t);
        m_latest = std::max(m_latest, t);
    }
    for (int i = 0; i < count; ++i) {
        m_low = std::min(m_low, values[i]);
        m_high = std::max(m_high, values[i]);
    }
    m_high = std::max(m_high, m_total);
    if (rainLine) {
        if (t != kNoTime && m_haveStart && m_period > 0 && t > m_start + m_period)
            ClosePeriods(t);
        m_total += rain;
    }
}

bool Reader::RecordPointKinds(const DumpLine& line) {
    if (line.At(2) != ':')
        return true;
    const int hour = line.IntAt(0), minute = line.IntAt(3), second = line.IntAt(6);
    int day = 0, month = 0, year = 0;
    const bool dateLine = DumpDateLine(line, m_options.dayFirst, &day, &month, &year);
    if (dateLine) {
        if (Illegal(month))
            return false;
        SetDate(day, month, year);
        IncrementSetting(line, &m_increment);
    } else {
        switch (m_kind) {
        case PLOT_KIND_RAIN:
            if (line.At(8) == ' ')
                m_w = line.NumberAt(9);
            break;
        case PLOT_KIND_RIVER:
        case PLOT_KIND_BATT_INT:
        case PLOT_KIND_BATT_EXT:
        case PLOT_KIND_TEMP:
            m_w = line.NumberAt(9);
            break;
        case PLOT_KIND_BATT:
            if (line.At(8) == ' ' && line.At(12) == ' ') {
                m_w1 = line.NumberAt(9);
                m_w2 = line.NumberAt(13);
            }
            break;
        case PLOT_KIND_BATT_TEMP:
            if (line.At(8) == ' ' && line.At(13) == ' ') {
                m_w1 = line.NumberAt(9);
                m_w2 = line.NumberAt(14);
                m_w3 = line.NumberAt(line.At(18) == ' ' ? 19 : 20);
            }
            break;
        default:
            break;
        }
    }
    const PlotSeconds t = AddTimeOfDay(m_dayStart, hour, minute, second);
    const double three[3] = {m_w1, m_w2, m_w3};
    if (m_kind == PLOT_KIND_BATT || m_kind == PLOT_KIND_BATT_TEMP)
        Record(t, three, m_kind == PLOT_KIND_BATT ? 2 : 3, false, 0.0);
    else
        Record(t, &m_w, 1, m_kind == PLOT_KIND_RAIN, dateLine ? 0.0 : m_increment);
    if (dateLine || t == kNoTime)
        return true;
    switch (m_kind) {
    case PLOT_KIND_RIVER:
        Emit(SERIES_RIVER, t, m_w);
        break;
    case PLOT_KIND_BATT_INT:
        Emit(SERIES_BV_INT, t, m_w);
        break;
    case PLOT_KIND_BATT_EXT:
        Emit(SERIES_BV_EXT, t, m_w);
        break;
    case PLOT_KIND_TEMP:
        Emit(SERIES_TEMP, t, m_w);
        break;
    case PLOT_KIND_BATT:
        Emit(SERIES_BV_INT, t, m_w1);
        Emit(SERIES_BV_EXT, t, m_w2);
        break;
    case PLOT_KIND_BATT_TEMP:
        Emit(SERIES_BV_INT, t, m_w1);
        Emit(SERIES_BV_EXT, t, m_w2);
        Emit(SERIES_TEMP, t, m_w3);
        break;
    default:
        break;
    }
    return true;
}

bool Reader::RecordAll(const DumpLine& line) {
    if (line.At(1) != ',')
        return true;
    int month = 0;
    const PlotSeconds t = AllRecordTime(line, m_options.dayFirst, &month);
    if (Illegal(month))
        return false;
    const double value = line.NumberAt(20);
    const char type = line.At(0);
    Record(t, &value, 1, type == '1', value);
    if (t != kNoTime && type >= '2' && type <= '5')
        Emit(SERIES_RIVER + (type - '2'), t, value);
    return true;
}

// A tip line at `p` ("hh:mm:ss" with a clock time, then CR LF or LF; 10
// bytes readable): its length and its seconds into the day. False for any
// other line.
inline bool TipLine(const char* p, std::size_t* length, PlotSeconds* seconds) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    // Digits read 0 to 9 and the colons 0 after this.
    const std::uint64_t x = v ^ 0x30303A30303A3030u;
    if ((((x + 0x7676767676767676u) | x) & 0x8080808080808080u) | (x & 0x0000FF0000FF0000u))
        return false;
    std::uint16_t lineEnd;
    std::memcpy(&lineEnd, p + 8, 2);
    if (lineEnd == 0x0A0D) // CR LF
        *length = 10;
    else if ((lineEnd & 0xFF) == 0x0A)
        *length = 9;
    else
        return false;
    // Hours, minutes and seconds in bytes 0, 3 and 6; each within its clock
    // range unless that byte's top bit is set after the add.
    const std::uint64_t fields = x * 10 + (x >> 8);
    if ((fields + 0x0044000044000068u) & 0x0080000080000080u)
        return false;
    *seconds = PlotSeconds(fields & 0xFF) * 3600 + PlotSeconds(fields >> 24 & 0xFF) * 60 +
               PlotSeconds(fields >> 48 & 0xFF);
    return true;
}

std::size_t Reader::TipLines(const char* bytes, std::size_t count) {
    // Only once a record has set the range start and the date is valid.
    if (!m_haveStart || m_dayStart == kNoTime || m_period <= 0)
        return 0;
    const char* p = bytes;
    const char* const end = bytes + count;
    const PlotSeconds day = m_dayStart;
    PlotSeconds earliest = m_earliest, latest = m_latest;
    // The value steps of m_w, the same each line, give the same taken once
    // ahead (kept only when a line is taken).
    const double low = std::min(m_low, m_w);
    double high = std::max(m_high, m_w);
    // Record's steps for rain lines, in its order; the inner loop takes the
    // lines of one collection period and holds its sums in registers.
    for (;;) {
        const PlotSeconds next = m_start + m_period;
        const double increment = m_increment;
        double total = m_total;
        std::size_t n = 0;
        PlotSeconds t = 0;
        bool closes = false;
        while (end - p >= 10 && TipLine(p, &n, &t)) {
            t += day;
            earliest = t < earliest ? t : earliest;
            latest = latest < t ? t : latest;
            high = high < total ? total : high;
            if (t > next) {
                closes = true;
                break;
            }
            total += increment;
            p += n;
        }
        m_total = total;
        if (!closes)
            break;
        ClosePeriods(t);
        m_total += m_increment;
        p += n;
    }
    if (p == bytes)
        return 0;
    m_low = low;
    m_high = high;
    m_earliest = earliest;
    m_latest = latest;
    return std::size_t(p - bytes);
}

bool Reader::RainRecords(DumpLineReader& lines) {
    DumpLine line;
    for (;;) {
        std::size_t count = 0;
        const char* bytes = lines.Buffered(&count);
        lines.Skip(TipLines(bytes, count));
        if (!lines.Next(&line))
            return true;
        if (!RecordPointKinds(line))
            return false;
    }
}

void Reader::Run(DumpSource& source, DumpReadResult* result) {
    DumpLineReader lines(source);
    DumpLine line;
    bool stopped = false;
    if (!lines.Next(&line)) {
        m_sink.OnKind(m_kind);
    } else {
        bool slash = false;
        m_kind = ClassifyDumpLine(line, &slash);
        const long titleLine = slash ? 3 : 2;
        if (m_kind == PLOT_KIND_RAIN || m_kind == PLOT_KIND_ALL)
            m_period = CollectionPeriodSeconds(m_options.periodIndex);
        m_sink.OnKind(m_kind);
        bool more = true;
        for (long lineNo = 2; lineNo <= titleLine && more; ++lineNo) {
            more = lines.Next(&line);
            if (more && lineNo == titleLine)
                Title(line);
        }
        // The kind is decided: each has its own loop.
        if (more && m_kind == PLOT_KIND_RAIN) {
            stopped = !RainRecords(lines);
        } else if (more && m_kind == PLOT_KIND_ALL) {
            while (!stopped && lines.Next(&line))
                stopped = !RecordAll(line);
        } else if (more) {
            while (!stopped && lines.Next(&line))
                stopped = !RecordPointKinds(line);
        }
    }

    DumpSummary& s = result->summary;
    s.anyRecord = !m_firstRecord;
    s.complete = !stopped;
    if (!stopped && s.anyRecord && m_period > 0) {
        if (m_haveStart && m_total > 0.001)
            Emit(SERIES_RAIN, m_start, m_total);
        m_high = std::max(m_high, m_total);
        if (m_haveStart) {
            m_start += m_period;
            Emit(SERIES_RAIN, m_start, 0.0);
            m_latest = std::max(m_latest, m_start);
        }
    }
    s.hasTimeRange = m_haveStart;
    if (m_haveStart) {
        s.earliest = PlotTimeToOle(m_earliest);
        s.latest = PlotTimeToOle(m_latest);
    }
    s.low = m_low;
    s.high = m_high;
    result->kind = m_kind;
    result->rainIncrement = m_increment;
    result->titleIncrement = m_titleIncrement;
    result->periodSeconds = m_period;
    m_sink.OnEnd(s);
}

} // namespace

DumpReadResult ReadDump(DumpSource& source, const DumpReadOptions& options, DumpSink& sink) {
    DumpReadResult result;
    result.opened = true;
    Reader reader(options, sink);
    reader.Run(source, &result);
    return result;
}

DumpReadResult ReadDumpFile(const std::string& path, const DumpReadOptions& options,
                            DumpSink& sink) {
    DumpFileSource source;
    if (!source.Open(path))
        return DumpReadResult{};
    return ReadDump(source, options, sink);
}
