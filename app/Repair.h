#pragma once
// Reapply Order against the desktop as it is: which rows of the last applied order are out of
// place, and a reapply that re-stamps only those, journaled first like any run so that Undo puts
// back exactly what it changed.
#include "app/Drift.h"
#include "app/JournalText.h"
#include "app/Runs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

struct DesktopFolders;
struct DesktopItem;
class Journal;

struct ReapplyPlan {
    // The order's rows, those gone too, then the listed shortcuts not in it, in their listed
    // order: the entries PlanRepair's indexes count.
    std::vector<OrderRow> rows;
    RepairPlan repair;
    // The rows that are there, for a reapply afresh: the order's files that are listed now, in
    // that order, then the listed files that are not in it, in their listed order.
    std::vector<OrderRow> present;

    bool InOrder() const { return repair.outOfPlace.empty() && !repair.afresh; }
};

// `last`, read with its order at least, against `listed`, one scan of its folder.
ReapplyPlan PlanReapply(const JournalRun& last, const std::vector<DesktopItem>& listed);
// The same plan's repair alone, for a check of the desktop: without a copy of every row.
RepairPlan CheckReapply(const JournalRun& last, const std::vector<DesktopItem>& listed);

// Stamps the out-of-place rows of `plan` (not afresh) with their planned times: the run, each
// such shortcut and its ".pif" where there is one with their original times, is journaled before
// the first stamp. Files of the all-users desktop are stamped by the guarded stamp's rules; those
// Windows refuses for want of rights are the outcome's `refused`. Nothing is stamped when the
// journal cannot be written.
StampOutcome StampRepair(Journal& journal, const DesktopFolders& folders, const ReapplyPlan& plan,
                         std::int16_t step, const ReportFailure& reportFailure);

} // namespace cw
