// OLE dates: days since 30 December 1899 as a double, the fraction being the
// time of day (before 1899 the fraction counts forward from the day's start
// all the same). Calendar fields, validity, half-second equality and English
// strftime-style formatting, rounded to the second. No Qt in here.
#pragma once

#include <string>

// One half second, in days: two date-times closer than this are equal.
constexpr double kOleHalfSecond = 0.5 / 86400.0;

class COleDateTimeSpan {
public:
    COleDateTimeSpan() = default;
    explicit COleDateTimeSpan(double days) : m_span(days) {}
    COleDateTimeSpan(long days, int hours, int minutes, int seconds)
        : m_span(double(days) + (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0) {}

    double GetTotalDays() const { return m_span; }
    double GetTotalSeconds() const { return m_span * 86400.0; }
    bool IsValid() const { return m_valid; }
    void SetStatus(bool valid) { m_valid = valid; }
    operator double() const { return m_span; }

private:
    double m_span = 0.0;
    bool m_valid = true;
};

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    COleDateTime() = default;
    // Any finite number within the years 100 to 9999 is a valid date.
    COleDateTime(double oleDate) { SetOleDate(oleDate); } // implicit: a date from any double
    COleDateTime(int year, int month, int day, int hour, int minute, int second) {
        SetDateTime(year, month, day, hour, minute, second);
    }

    // Invalid (and 0.0) when a field is out of range.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    void SetOleDate(double oleDate);
    DateTimeStatus GetStatus() const { return m_status; }
    bool IsValid() const { return m_status == valid; }
    double GetOleDate() const { return m_dt; }
    operator double() const { return m_dt; }

    // Fields of the date rounded to the nearest second; 0 when invalid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 Sunday .. 7 Saturday
    int GetDayOfYear() const; // 1 ..

    // strftime codes with English names, C locale: %a %A %b %B %d %H %I %j
    // %m %M %p %S %y %Y %%, and '#' after '%' drops leading zeros. Empty
    // when invalid.
    std::string Format(const char* format) const;

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTime& other) const;
    // Equal when both are valid and less than half a second apart.
    bool operator==(const COleDateTime& other) const;
    bool operator<(const COleDateTime& other) const {
        return !(*this == other) && m_dt < other.m_dt;
    }
    bool operator>(const COleDateTime& other) const {
        return !(*this == other) && m_dt > other.m_dt;
    }
    bool operator<=(const COleDateTime& other) const { return !(*this > other); }
    bool operator>=(const COleDateTime& other) const { return !(*this < other); }

private:
    double m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

struct OleDateFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int dayOfWeek = 0; // 0 Sunday .. 6 Saturday
    int dayOfYear = 0; // 1 ..
};

// The date rounded to the nearest second; false when not a valid OLE date.
bool OleDateToFields(double oleDate, OleDateFields* fields);
// False (and 0.0) when a field is out of range.
bool OleDateFromFields(int year, int month, int day, int hour, int minute, int second,
                       double* oleDate);
bool IsValidOleDate(double oleDate);
// Formats a valid date as COleDateTime::Format does; empty when invalid.
std::string FormatOleDate(double oleDate, const char* format);
