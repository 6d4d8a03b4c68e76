#pragma once
// The platform's FILETIME as one 64-bit count and back, the current UTC time in that count, and
// local date/time values as file times: the one place these conversions are written.
#include "win32/Calendar.h"
#include "win32/DateTime.h"

#include <windows.h>

#include <optional>

namespace cw {

inline FileTimeValue TicksOf(const FILETIME& time) {
    return (static_cast<FileTimeValue>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME FileTimeOf(FileTimeValue ticks) {
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

FileTimeValue UtcNow();

// A local date/time value as the file time that stands for it, by the time-zone offset in force
// now; nothing for a value outside what a file time can hold (before 1601, not a number).
std::optional<FileTimeValue> FileTimeOfLocal(DateTime local);
// A file time as local calendar fields, by the offset in force now; milliseconds are dropped.
std::optional<CalendarTime> LocalCalendarTime(FileTimeValue utc);

} // namespace cw
