#pragma once
// Drift from the applied order: which shortcuts no longer sort where the order put them, and the
// times that put them back while every other file keeps its own, so that a reapply writes only
// what moved. Plain arithmetic on times: no files, no windows.
#include "app/JournalText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cw {

struct RepairPlan {
    // The entries out of place, as indexes into the order, ascending.
    std::vector<std::size_t> outOfPlace;
    // The last-write time (whole seconds) that puts each of them back; empty when `afresh`.
    std::vector<FileTimeValue> times;
    // Some gap between two shortcuts in place has no room for the entries that belong in it: the
    // whole order has to be stamped afresh.
    bool afresh = false;
};

// `written`: the present last-write time of each entry of the applied order, in that order, or
// nothing where its shortcut is gone (such an entry neither holds a place nor moves). `step`: the
// order's +60 (oldest first) or -60 seconds (newest first).
//
// Keeps the largest set of entries already in order, each at least one whole second on from the
// one before, so that they sort alike whether a sort compares whole seconds or finer; among sets
// of that size, the one with the oldest times, since a shortcut that was re-created or re-stamped
// is newer than the order. Each other entry gets a time inside the gap between its neighbours in
// place, at least a second from both, the entries of one gap spread in order across it; entries
// past either end go one step beyond the last in place. Nothing out of place: an empty plan.
RepairPlan PlanRepair(const std::vector<std::optional<FileTimeValue>>& written, std::int16_t step);

// The exit code of "/status": done (0) in order, out of place (3), nothing saved (1) when there is
// no applied order.
int StatusExitCode(bool orderApplied, std::size_t outOfPlace);

// The status bar's note of drift: "3 shortcuts out of your order: Reapply Order puts them back";
// "" when none is out of place.
std::string DriftText(std::size_t outOfPlace);

} // namespace cw
