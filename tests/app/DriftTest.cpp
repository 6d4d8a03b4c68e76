// Reapply's plan: which shortcuts of the applied order are out of place and the times that put
// them back, each case with the exact entries it re-stamps.
#include "app/Drift.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cw;

namespace {

constexpr std::int64_t kSecond = 10'000'000;
constexpr std::int64_t kBase = 13'400'000'000 * kSecond; // in 2025

FileTimeValue At(double seconds) {
    return static_cast<FileTimeValue>(kBase + std::llround(seconds * kSecond));
}

struct Case {
    const char* what;
    std::int16_t step;
    std::vector<std::optional<double>> seconds; // present times after kBase; nothing: gone
    std::vector<std::size_t> moved;
    std::vector<double> to;
    bool afresh = false;
};

} // namespace

TEST(Drift, ReStampsOnlyWhatIsOutOfPlaceAndLeavesTheOrderWhole) {
    const auto gone = std::nullopt;
    std::vector<Case> cases = {
        {"in order", 60, {0, 60, 120}, {}, {}},
        {"in order, newest first", -60, {0, -60, -120}, {}, {}},
        {"a second apart is in order", 60, {0, 60, 61, 120}, {}, {}},
        {"re-created first", 60, {9000, 60, 120}, {0}, {0}},
        {"re-created in the middle", 60, {0, 9000, 120}, {1}, {60}},
        {"re-created in the middle, newest first", -60, {0, 9000, -120}, {1}, {-60}},
        {"re-created last is newest: in order", 60, {0, 60, 9000}, {}, {}},
        {"re-created last, newest first", -60, {0, -60, 9000}, {2}, {-120}},
        {"a new shortcut, newest first", -60, {0, -60, -120, 9000}, {3}, {-180}},
        {"two swapped", 60, {0, 120, 60, 180}, {1}, {30}},
        {"all reversed", 60, {180, 120, 60, 0}, {0, 1, 2}, {-180, -120, -60}},
        {"all reversed, newest first", -60, {-180, -120, -60, 0}, {1, 2, 3}, {-240, -300, -360}},
        {"two in one gap, spread in order", 60, {0, 9000, 9001, 60, 120}, {1, 2}, {20, 40}},
        {"the same second: the later moves", 60, {0, 60, 60.5, 120}, {2}, {90}},
        {"under a second across a second's edge", 60, {0, 60.9, 61.2, 120}, {2}, {90}},
        {"gone shortcuts hold no place", 60, {0, gone, 9000, 180}, {2}, {90}},
        {"a gap with just room", 60, {0, 9000, 3, 60}, {1}, {1}},
        {"a gap used up", 60, {0, 9000, 9001, 2, 60}, {1, 2}, {}, true},
        {"before the first time there is", 60, {9000, 30.0 - kBase / kSecond}, {0}, {}, true},
        {"twenty thousand, one re-created", 60, {}, {7'000}, {7'000 * 60}},
    };
    for (int i = 0; i < 20'000; ++i)
        cases.back().seconds.push_back(i == 7'000 ? 9e6 : i * 60.0);
    for (const Case& c : cases) {
        std::vector<std::optional<FileTimeValue>> written;
        for (const auto& seconds : c.seconds)
            written.push_back(seconds ? std::optional(At(*seconds)) : std::nullopt);
        const RepairPlan plan = PlanRepair(written, c.step);
        std::vector<FileTimeValue> to;
        for (const double seconds : c.to)
            to.push_back(At(seconds));
        EXPECT_EQ(plan.outOfPlace, c.moved) << c.what;
        EXPECT_EQ(plan.times, to) << c.what;
        EXPECT_EQ(plan.afresh, c.afresh) << c.what;
        if (plan.afresh || plan.times.size() != plan.outOfPlace.size())
            continue;
        // Stamped as planned, every shortcut sorts at least a second past the one before it.
        for (std::size_t i = 0; i < plan.outOfPlace.size(); ++i)
            written[plan.outOfPlace[i]] = plan.times[i];
        std::int64_t before = INT64_MIN / 2;
        for (const auto& time : written)
            if (time) {
                const std::int64_t key = (c.step > 0 ? 1 : -1) * static_cast<std::int64_t>(*time);
                EXPECT_GE(key - before, kSecond) << c.what;
                before = key;
            }
    }
}
