#include "win32/FileTime.h"

#include <cmath>

namespace cw {

FileTimeValue UtcNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return TicksOf(now);
}

// A failed conversion would leave an undefined time to be written: values out of range give none.
std::optional<FileTimeValue> FileTimeOfLocal(DateTime local) {
    static const DateTime lowest = MakeDateTime({1601, 1, 1, 0, 0, 0}) - 1;
    static const DateTime highest = MakeDateTime({10000, 1, 1, 0, 0, 0});
    if (!std::isfinite(local) || local <= lowest || local >= highest)
        return std::nullopt;
    const SYSTEMTIME fields = ToSystemTime(SplitDateTime(local));
    FILETIME localTime, utc;
    if (!SystemTimeToFileTime(&fields, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc))
        return std::nullopt;
    return TicksOf(utc);
}

std::optional<CalendarTime> LocalCalendarTime(FileTimeValue utc) {
    const FILETIME time = FileTimeOf(utc);
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &fields))
        return std::nullopt;
    return ToCalendarTime(fields);
}

} // namespace cw
