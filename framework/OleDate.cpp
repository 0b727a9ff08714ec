#include "framework/OleDate.h"
#include "framework/CivilDate.h"

#include <cmath>
#include <cstdio>

namespace {

// Valid OLE dates run from 1 January 100 to 31 December 9999.
constexpr double kMinOleDate = -657434.0;
constexpr double kMaxOleDate = 2958465.999994;

const char* const kMonthShort[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kMonthLong[12] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
const char* const kDayShort[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayLong[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

const long long kEpochDays = DaysFromCivil(1899, 12, 30);

void Append(std::string& out, int value, int width, bool noPad) {
    char buf[16];
    if (noPad)
        std::snprintf(buf, sizeof buf, "%d", value);
    else
        std::snprintf(buf, sizeof buf, "%0*d", width, value);
    out += buf;
}

} // namespace

bool IsValidOleDate(double oleDate) {
    return std::isfinite(oleDate) && oleDate >= kMinOleDate && oleDate <= kMaxOleDate;
}

bool OleDateFromFields(int year, int month, int day, int hour, int minute, int second,
                       double* oleDate) {
    *oleDate = 0.0;
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return false;
    const double days = double(DaysFromCivil(year, month, day) - kEpochDays);
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    *oleDate = days >= 0 ? days + time : days - time;
    return true;
}

bool OleDateToFields(double oleDate, OleDateFields* f) {
    *f = OleDateFields{};
    if (!IsValidOleDate(oleDate))
        return false;
    long long day = (long long)std::trunc(oleDate);
    const double frac = std::fabs(oleDate - double(day));
    long long secs = std::llround(frac * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        day += 1;
    }
    const long long civil = day + kEpochDays;
    CivilFromDays(civil, &f->year, &f->month, &f->day);
    f->hour = int(secs / 3600);
    f->minute = int(secs / 60 % 60);
    f->second = int(secs % 60);
    f->dayOfWeek = int(((civil % 7) + 7 + 4) % 7); // 1 January 1970 was a Thursday
    f->dayOfYear = int(civil - DaysFromCivil(f->year, 1, 1) + 1);
    return true;
}

std::string FormatOleDate(double oleDate, const char* format) {
    OleDateFields f;
    if (!format || !OleDateToFields(oleDate, &f))
        return {};
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || p[1] == '\0') {
            out += *p;
            continue;
        }
        ++p;
        bool noPad = false;
        if (*p == '#' && p[1] != '\0') {
            noPad = true;
            ++p;
        }
        switch (*p) {
        case 'a':
            out += kDayShort[f.dayOfWeek];
            break;
        case 'A':
            out += kDayLong[f.dayOfWeek];
            break;
        case 'b':
            out += kMonthShort[f.month - 1];
            break;
        case 'B':
            out += kMonthLong[f.month - 1];
            break;
        case 'd':
            Append(out, f.day, 2, noPad);
            break;
        case 'H':
            Append(out, f.hour, 2, noPad);
            break;
        case 'I':
            Append(out, f.hour % 12 == 0 ? 12 : f.hour % 12, 2, noPad);
            break;
        case 'j':
            Append(out, f.dayOfYear, 3, noPad);
            break;
        case 'm':
            Append(out, f.month, 2, noPad);
            break;
        case 'M':
            Append(out, f.minute, 2, noPad);
            break;
        case 'p':
            out += f.hour < 12 ? "AM" : "PM";
            break;
        case 'S':
            Append(out, f.second, 2, noPad);
            break;
        case 'y':
            Append(out, f.year % 100, 2, noPad);
            break;
        case 'Y':
            Append(out, f.year, 4, noPad);
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += *p;
            break;
        }
    }
    return out;
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    m_status = OleDateFromFields(year, month, day, hour, minute, second, &m_dt) ? valid : invalid;
    return m_status == valid ? 0 : 1;
}

void COleDateTime::SetOleDate(double oleDate) {
    m_dt = oleDate;
    m_status = IsValidOleDate(oleDate) ? valid : invalid;
}

namespace {
OleDateFields FieldsOf(const COleDateTime& t) {
    OleDateFields f;
    if (t.IsValid())
        OleDateToFields(t.GetOleDate(), &f);
    return f;
}
} // namespace

int COleDateTime::GetYear() const {
    return FieldsOf(*this).year;
}
int COleDateTime::GetMonth() const {
    return FieldsOf(*this).month;
}
int COleDateTime::GetDay() const {
    return FieldsOf(*this).day;
}
int COleDateTime::GetHour() const {
    return FieldsOf(*this).hour;
}
int COleDateTime::GetMinute() const {
    return FieldsOf(*this).minute;
}
int COleDateTime::GetSecond() const {
    return FieldsOf(*this).second;
}
int COleDateTime::GetDayOfWeek() const {
    return IsValid() ? FieldsOf(*this).dayOfWeek + 1 : 0;
}
int COleDateTime::GetDayOfYear() const {
    return FieldsOf(*this).dayOfYear;
}

std::string COleDateTime::Format(const char* format) const {
    return IsValid() ? FormatOleDate(m_dt, format) : std::string();
}

namespace {
// Arithmetic on the continuous time line (before 1899 the stored fraction
// runs the other way).
double ToLinear(double dt) {
    if (dt >= 0)
        return dt;
    const double day = std::trunc(dt);
    return 2.0 * day - dt;
}
double FromLinear(double t) {
    if (t >= 0)
        return t;
    const double day = std::floor(t);
    return day - (t - day);
}
} // namespace

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const {
    COleDateTime r;
    if (!IsValid()) {
        r.m_status = invalid;
        return r;
    }
    r.SetOleDate(FromLinear(ToLinear(m_dt) + span.GetTotalDays()));
    return r;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const {
    return *this + COleDateTimeSpan(-span.GetTotalDays());
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const {
    COleDateTimeSpan s(ToLinear(m_dt) - ToLinear(other.m_dt));
    s.SetStatus(IsValid() && other.IsValid());
    return s;
}

bool COleDateTime::operator==(const COleDateTime& other) const {
    return IsValid() && other.IsValid() &&
           std::fabs(ToLinear(m_dt) - ToLinear(other.m_dt)) < kOleHalfSecond;
}
