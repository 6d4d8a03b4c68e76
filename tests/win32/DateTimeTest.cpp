#include "win32/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

using namespace cw;

namespace cw {
void PrintTo(const CalendarTime& t, std::ostream* os) {
    *os << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':' << t.second;
}
} // namespace cw

TEST(DateTimeValue, CountsDaysSinceTheEndOf1899) {
    EXPECT_EQ(MakeDateTime({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(MakeDateTime({1900, 1, 1, 6, 0, 0}), 2.25);
    EXPECT_EQ(MakeDateTime({2000, 1, 1, 0, 0, 0}), 36526.0);
    // Before the epoch the integer part counts back while the fraction still counts forward.
    EXPECT_EQ(MakeDateTime({1899, 12, 29, 6, 0, 0}), -1.25);
    EXPECT_EQ(SplitDateTime(-1.25), (CalendarTime{1899, 12, 29, 6, 0, 0}));
}

TEST(DateTimeValue, RoundTripsCalendarFieldsToTheSecond) {
    for (const CalendarTime t : {CalendarTime{2026, 12, 5, 14, 3, 22}, CalendarTime{2024, 2, 29, 0, 0, 0},
                                 CalendarTime{1999, 12, 31, 23, 59, 59}, CalendarTime{1601, 1, 1, 0, 0, 1},
                                 CalendarTime{9999, 12, 31, 12, 0, 0}})
        EXPECT_EQ(SplitDateTime(MakeDateTime(t)), t);
}

TEST(DateTimeValue, AddsSecondsAcrossDaysMonthsAndYears) {
    const DateTime t = MakeDateTime({2026, 12, 31, 23, 59, 30});
    EXPECT_EQ(SplitDateTime(AddSeconds(t, 60)), (CalendarTime{2027, 1, 1, 0, 0, 30}));
    EXPECT_EQ(SplitDateTime(AddSeconds(t, -60 * 32767LL)), (CalendarTime{2026, 12, 9, 5, 52, 30}));
    EXPECT_EQ(SecondsBetween(t, AddSeconds(t, 1966020)), 1966020);
    EXPECT_EQ(SecondsBetween(MakeDateTime({1899, 12, 29, 23, 0, 0}), MakeDateTime({1899, 12, 30, 1, 0, 0})),
              7200);
}

TEST(DateTimeValue, NowHasWholeSeconds) {
    const DateTime now = Now();
    EXPECT_EQ(MakeDateTime(SplitDateTime(now)), now);
}

// Under LC_ALL=<locale> CTest runs these again: the text follows the user's regional settings and
// reads back to the same second.
TEST(DateTimeText, FollowsTheUsersLocale) {
    const char* expected = std::getenv("CLUTTERWISE_EXPECT_LOCALE");
    if (!expected)
        GTEST_SKIP() << "no locale requested";
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    std::wstring want;
    for (const char* c = expected; *c; ++c)
        want += static_cast<wchar_t>(*c == '_' ? '-' : *c);
    EXPECT_EQ(std::wstring(name), want);
}

TEST(DateTimeText, ReadsBackToTheSameSecond) {
    for (const CalendarTime t :
         {CalendarTime{2026, 12, 5, 14, 3, 22}, CalendarTime{2026, 1, 2, 0, 0, 0},
          CalendarTime{2026, 7, 13, 12, 0, 59}, CalendarTime{2026, 11, 30, 23, 59, 59},
          CalendarTime{1999, 2, 28, 0, 30, 1}, CalendarTime{2030, 10, 11, 9, 8, 7}}) {
        const std::string text = FormatDateTime(t);
        ASSERT_FALSE(text.empty());
        const auto value = ParseDateTime(text);
        ASSERT_TRUE(value) << text;
        EXPECT_EQ(SplitDateTime(*value), t) << text;
    }
}

TEST(DateTimeText, WritesMidnightAsATime) {
    const std::string text = FormatDateTime({2026, 3, 4, 0, 0, 0});
    const std::string dateOnly = FormatDateTime({2026, 3, 4, 0, 0, 0}).substr(0, text.find(' '));
    EXPECT_GT(text.size(), dateOnly.size() + 4) << text;
}

TEST(DateTimeText, RefusesTextThatIsNotADate) {
    for (const char* text : {"", "tomorrow", "13/45/2026 99:00:00", "12:00:00 12:00:00 x"})
        EXPECT_FALSE(ParseDateTime(text)) << text;
}

TEST(DateTimeText, UsesTheUnitedStatesFormatByDefault) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    if (std::getenv("CLUTTERWISE_EXPECT_LOCALE") || std::wstring(name) != L"en-US")
        GTEST_SKIP() << "another locale";
    EXPECT_EQ(FormatDateTime({2026, 12, 5, 14, 3, 22}), "12/5/2026 2:03:22 PM");
}
