#include "win32/DateTime.h"

#include "win32/Calendar.h"
#include "win32/SystemFunction.h"

#include <oleauto.h>

#include <cmath>

namespace cw {
namespace {

constexpr long long kEpochDays = DaysFromCivil({1899, 12, 30});

// A point as whole seconds on one straight line (the OLE value is not linear before 1899-12-30:
// there the integer part counts days backwards while the fraction still counts time forwards).
long long LinearSeconds(const CalendarTime& t) {
    const long long days =
        DaysFromCivil({t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)}) -
        kEpochDays;
    return days * kSecondsPerDay + t.hour * 3600LL + t.minute * 60LL + t.second;
}

CalendarTime FromLinearSeconds(long long s) {
    long long days = s / kSecondsPerDay;
    long long tod = s % kSecondsPerDay;
    if (tod < 0) {
        tod += kSecondsPerDay;
        --days;
    }
    const CivilDate date = CivilFromDays(days + kEpochDays);
    CalendarTime t;
    t.year = static_cast<int>(date.year);
    t.month = static_cast<int>(date.month);
    t.day = static_cast<int>(date.day);
    t.hour = static_cast<int>(tod / 3600);
    t.minute = static_cast<int>(tod / 60 % 60);
    t.second = static_cast<int>(tod % 60);
    return t;
}

} // namespace

DateTime MakeDateTime(const CalendarTime& t) {
    const long long s = LinearSeconds(t);
    const long long days =
        s >= 0 ? s / kSecondsPerDay : -((-s + kSecondsPerDay - 1) / kSecondsPerDay);
    const double fraction = static_cast<double>(s - days * kSecondsPerDay) / kSecondsPerDay;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

CalendarTime SplitDateTime(DateTime value) {
    const double days = std::trunc(value);
    long long tod = std::llround(std::fabs(value - days) * kSecondsPerDay);
    return FromLinearSeconds(static_cast<long long>(days) * kSecondsPerDay + tod);
}

DateTime AddSeconds(DateTime value, long long seconds) {
    return MakeDateTime(FromLinearSeconds(LinearSeconds(SplitDateTime(value)) + seconds));
}

DateTime Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return MakeDateTime(ToCalendarTime(st));
}

CalendarTime ToCalendarTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

SYSTEMTIME ToSystemTime(const CalendarTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

std::string FormatDateTime(const CalendarTime& t) {
    const SYSTEMTIME st = ToSystemTime(t);
    char date[128] = "";
    char time[128] = "";
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date) == 0 ||
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time) == 0)
        return {};
    return std::string(date) + " " + time;
}

std::optional<DateTime> ParseDateTime(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    // Only this reader needs the automation library: found on first use, not loaded with the
    // program. Without it no text reads as a date.
    static const SystemFunction<decltype(VarDateFromStr)> fromText("oleaut32.dll",
                                                                   "VarDateFromStr");
    DATE value = 0;
    if (!fromText || FAILED(fromText.Get()(wide.data(), LOCALE_USER_DEFAULT, 0, &value)))
        return std::nullopt;
    return value;
}

} // namespace cw
