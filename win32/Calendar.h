#pragma once
// The proleptic Gregorian calendar in plain arithmetic, and file times counted on it: no platform
// call, so that the journal's text can be read and written (and fuzzed) anywhere.
// Day numbers after H. Hinnant's civil-date algorithms.
#include <cstdint>

namespace cw {

// A file time: 100 ns intervals since 1601-01-01 UTC, as the platform counts them.
using FileTimeValue = std::uint64_t;

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1601-01-01, where file times start, to 1970-01-01, where day numbers start.
constexpr std::int64_t kFileTimeEpochDays = 134'774;

struct CivilDate {
    std::int64_t year = 1970;
    unsigned month = 1, day = 1;
};

// Days since 1970-01-01 of a date, and back.
constexpr std::int64_t DaysFromCivil(CivilDate date) {
    const std::int64_t y = date.year - (date.month <= 2);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned m = date.month;
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + date.day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr CivilDate CivilFromDays(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    CivilDate date;
    date.day = doy - (153 * mp + 2) / 5 + 1;
    date.month = mp < 10 ? mp + 3 : mp - 9;
    date.year = static_cast<std::int64_t>(yoe) + era * 400 + (date.month <= 2);
    return date;
}

constexpr bool IsLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr unsigned DaysInMonth(std::int64_t year, unsigned month) {
    constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

} // namespace cw
