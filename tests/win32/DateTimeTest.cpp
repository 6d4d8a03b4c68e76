#include "win32/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

using namespace cw;

namespace cw {
void PrintTo(const CalendarTime& t, std::ostream* os) {
    *os << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':'
        << t.second;
}
} // namespace cw

TEST(DateTimeValue, CountsDaysSinceTheEndOf1899TheOleWayRoundTripsAndAddsSeconds) {
    const struct {
        CalendarTime t;
        double value;
    } cases[] = {{{1899, 12, 30, 0, 0, 0}, 0.0},
                 {{1900, 1, 1, 6, 0, 0}, 2.25},
                 {{2000, 1, 1, 0, 0, 0}, 36526.0},
                 // Before the epoch the integer part counts back, the fraction still forward.
                 {{1899, 12, 29, 6, 0, 0}, -1.25}};
    for (const auto& c : cases) {
        EXPECT_EQ(MakeDateTime(c.t), c.value);
        EXPECT_EQ(SplitDateTime(c.value), c.t);
    }
    for (const CalendarTime t :
         {CalendarTime{2024, 2, 29, 0, 0, 0}, {1601, 1, 1, 0, 0, 1}, {9999, 12, 31, 12, 0, 0}})
        EXPECT_EQ(SplitDateTime(MakeDateTime(t)), t);
    const DateTime now = Now();
    EXPECT_EQ(MakeDateTime(SplitDateTime(now)), now) << "whole seconds";
    // Seconds added across days and years.
    const DateTime t = MakeDateTime({2026, 12, 31, 23, 59, 30});
    EXPECT_EQ(SplitDateTime(AddSeconds(t, 60)), (CalendarTime{2027, 1, 1, 0, 0, 30}));
    EXPECT_EQ(SplitDateTime(AddSeconds(t, -60 * 32767LL)), (CalendarTime{2026, 12, 9, 5, 52, 30}));
}

// CTest runs the DateTimeText tests again under LC_ALL=de_DE, fr_FR and ja_JP: the text follows
// the user's regional settings and reads back to the same second, midnight and noon included.
TEST(DateTimeText, ReadsBackToTheSameSecondInTheUsersLocale) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    if (const char* expected = std::getenv("CLUTTERWISE_EXPECT_LOCALE")) {
        std::wstring want;
        for (const char* c = expected; *c; ++c)
            want += static_cast<wchar_t>(*c == '_' ? '-' : *c);
        ASSERT_EQ(std::wstring(name), want) << "the locale did not reach the program";
    } else if (std::wstring(name) == L"en-US") { // the prefix's own; Windows may have any other
        EXPECT_EQ(FormatDateTime({2026, 12, 5, 14, 3, 22}), "12/5/2026 2:03:22 PM");
    }
    for (const CalendarTime t : {CalendarTime{2026, 12, 5, 14, 3, 22},
                                 {2026, 1, 2, 0, 0, 0},
                                 {2026, 7, 13, 12, 0, 59},
                                 {2026, 11, 30, 23, 59, 59},
                                 {1999, 2, 28, 0, 30, 1}}) {
        const std::string text = FormatDateTime(t);
        const auto value = ParseDateTime(text);
        ASSERT_TRUE(value) << text;
        EXPECT_EQ(SplitDateTime(*value), t) << text;
    }
    // Midnight is written with its time, not as the date alone.
    const std::string midnight = FormatDateTime({2026, 3, 4, 0, 0, 0});
    EXPECT_GT(midnight.size(), midnight.find(' ') + 5) << midnight;
    for (const char* text : {"", "tomorrow", "13/45/2026 99:00:00", "12:00:00 12:00:00 x"})
        EXPECT_FALSE(ParseDateTime(text)) << text;
}
