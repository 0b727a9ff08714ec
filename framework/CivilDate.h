// Proleptic Gregorian dates as days since 1 January 1970, and back. Plain
// C++, for every date arithmetic of the program.
#pragma once

constexpr long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Days in month `m` (1..12) of year `y`.
constexpr int DaysInMonth(long long y, int m) {
    return int(m == 12 ? DaysFromCivil(y + 1, 1, 1) - DaysFromCivil(y, 12, 1)
                       : DaysFromCivil(y, m + 1, 1) - DaysFromCivil(y, m, 1));
}

constexpr void CivilFromDays(long long z, int* year, int* month, int* day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    *day = int(doy - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yoe + era * 400 + (*month <= 2));
}
