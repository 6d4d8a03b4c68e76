#include "app/Drift.h"

#include "app/CommandLine.h"

#include <algorithm>

namespace cw {
namespace {

constexpr std::int64_t kSecond = 10'000'000;
constexpr std::int64_t kStep = 60 * kSecond;
// Later than any time a file carries (about the year 16,000): times are held below it, so that
// the arithmetic on them stays far from the limits of 64 bits.
constexpr std::int64_t kLatest = std::int64_t{1} << 62;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::int64_t FloorSecond(std::int64_t ticks) {
    const std::int64_t part = ticks % kSecond;
    return part < 0 ? ticks - part - kSecond : ticks - part;
}

std::int64_t CeilSecond(std::int64_t ticks) {
    return -FloorSecond(-ticks);
}

// Entries in order, as a chain ending at `last`: the longer wins, then the older (the smaller sum
// of times, exact to the tick), since what someone re-created or re-stamped is newer than the
// order. On equal terms the chain found first stays.
struct Chain {
    std::size_t length = 0;
    std::int64_t seconds = 0, ticks = 0; // the sum of times, ticks below a second
    std::size_t last = kNone;

    bool Beats(const Chain& other) const {
        if (length != other.length)
            return length > other.length;
        return seconds != other.seconds ? seconds < other.seconds : ticks < other.ticks;
    }
    Chain Then(std::size_t entry, std::int64_t time) const {
        const std::int64_t sum = ticks + time % kSecond;
        return {length + 1, seconds + time / kSecond + sum / kSecond, sum % kSecond, entry};
    }
};

// The best chain ending at a key of rank below a given one, in O(log n) (a Fenwick tree of
// prefix maxima): ten thousand shortcuts stay instant.
class BestChains {
public:
    explicit BestChains(std::size_t ranks) : tree_(ranks + 1) {}

    Chain Below(std::size_t rank) const {
        Chain best;
        for (std::size_t i = rank; i > 0; i -= i & (0 - i))
            if (tree_[i].Beats(best))
                best = tree_[i];
        return best;
    }

    void Put(std::size_t rank, const Chain& chain) {
        for (std::size_t i = rank + 1; i < tree_.size(); i += i & (0 - i))
            if (chain.Beats(tree_[i]))
                tree_[i] = chain;
    }

private:
    std::vector<Chain> tree_;
};

// Keys (times that rise in the order's direction) for `count` entries between two entries in
// place, either of which may be missing past an end; nothing when the gap has no room.
std::optional<std::vector<std::int64_t>>
Place(std::optional<std::int64_t> low, std::optional<std::int64_t> high, std::size_t count) {
    const auto n = static_cast<std::int64_t>(count);
    std::vector<std::int64_t> keys;
    if (!low) { // before the first in place, a step apart
        for (std::int64_t i = n; i > 0; --i)
            keys.push_back(FloorSecond(*high - kStep) - (i - 1) * kStep);
        return keys;
    }
    if (!high) { // after the last in place
        for (std::int64_t i = 1; i <= n; ++i)
            keys.push_back(CeilSecond(*low + kStep) + (i - 1) * kStep);
        return keys;
    }
    // Whole seconds at least one second from either neighbour, spread evenly across the gap.
    const std::int64_t first = CeilSecond(*low + kSecond), last = FloorSecond(*high - kSecond);
    const std::int64_t room = last < first ? 0 : (last - first) / kSecond + 1;
    if (room < n)
        return std::nullopt;
    const std::int64_t spacing = (room + 1) / (n + 1);
    for (std::int64_t i = 1; i <= n; ++i)
        keys.push_back(first + (i * spacing - 1) * kSecond);
    return keys;
}

} // namespace

RepairPlan PlanRepair(const std::vector<std::optional<FileTimeValue>>& written, std::int16_t step) {
    const std::int64_t direction = step < 0 ? -1 : 1;
    std::vector<std::size_t> entries;
    std::vector<std::int64_t> keys;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (written[i]) {
            entries.push_back(i);
            keys.push_back(direction * static_cast<std::int64_t>(
                                           std::min<FileTimeValue>(*written[i], kLatest)));
        }

    // The longest chain of keys each at least a second above the one before it.
    std::vector<std::int64_t> ranks(keys);
    std::sort(ranks.begin(), ranks.end());
    ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
    BestChains best(ranks.size());
    std::vector<std::size_t> before(keys.size(), kNone);
    Chain longest;
    for (std::size_t p = 0; p < keys.size(); ++p) {
        const auto below = std::upper_bound(ranks.begin(), ranks.end(), keys[p] - kSecond);
        Chain chain = best.Below(static_cast<std::size_t>(below - ranks.begin()));
        before[p] = chain.last;
        chain = chain.Then(p, direction * keys[p]);
        best.Put(static_cast<std::size_t>(std::lower_bound(ranks.begin(), ranks.end(), keys[p]) -
                                          ranks.begin()),
                 chain);
        if (chain.Beats(longest))
            longest = chain;
    }
    std::vector<bool> inPlace(keys.size());
    for (std::size_t p = longest.last; p != kNone; p = before[p])
        inPlace[p] = true;

    // Each run of entries out of place goes between the entries in place around it.
    RepairPlan plan;
    std::optional<std::int64_t> low;
    for (std::size_t p = 0; p < keys.size();) {
        if (inPlace[p]) {
            low = keys[p++];
            continue;
        }
        std::size_t end = p;
        while (end < keys.size() && !inPlace[end])
            plan.outOfPlace.push_back(entries[end++]);
        const auto placed =
            Place(low, end < keys.size() ? std::optional(keys[end]) : std::nullopt, end - p);
        if (!placed)
            plan.afresh = true;
        else
            for (const std::int64_t key : *placed) {
                const std::int64_t time = direction * key;
                if (time < 0) // before the platform's first time
                    plan.afresh = true;
                plan.times.push_back(static_cast<FileTimeValue>(time));
            }
        p = end;
    }
    if (plan.afresh)
        plan.times.clear();
    return plan;
}

int StatusExitCode(bool orderApplied, std::size_t outOfPlace) {
    if (!orderApplied)
        return kExitNothingSaved;
    return outOfPlace > 0 ? kExitOutOfPlace : kExitDone;
}

std::string DriftText(std::size_t outOfPlace) {
    if (outOfPlace == 0)
        return "";
    return std::to_string(outOfPlace) +
           (outOfPlace == 1 ? " shortcut out of your order: Reapply Order puts it back"
                            : " shortcuts out of your order: Reapply Order puts them back");
}

} // namespace cw
