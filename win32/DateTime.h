#pragma once
// The date/time value and its text form.
//
// A value is a point in local time held as days since 1899-12-30, the fraction being the time of
// day (an OLE date). The text is the user's short date, one blank and the user's time format, to
// whole seconds; ParseDateTime reads it back by the same regional rules.
#include <windows.h>

#include <optional>
#include <string>

namespace cw {

using DateTime = double;

struct CalendarTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// Calendar fields to value and back; the way back rounds to the nearest whole second.
DateTime MakeDateTime(const CalendarTime& t);
CalendarTime SplitDateTime(DateTime value);

DateTime AddSeconds(DateTime value, long long seconds);

// The current local time, cut to the whole second.
DateTime Now();

CalendarTime ToCalendarTime(const SYSTEMTIME& st); // milliseconds are dropped
SYSTEMTIME ToSystemTime(const CalendarTime& t);    // day of week and milliseconds are 0

// "12/5/2026 2:03:22 PM" for a user with United States settings.
std::string FormatDateTime(const CalendarTime& t);
// Reads a date/time text by the user's regional rules; nothing for text it cannot read ("" too).
std::optional<DateTime> ParseDateTime(const std::string& text);

} // namespace cw
