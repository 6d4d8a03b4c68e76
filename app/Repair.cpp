#include "app/Repair.h"

#include "app/DesktopItems.h"
#include "app/Journal.h"
#include "app/PlannedFiles.h"
#include "fs/FileActions.h"
#include "fs/GuardedStamp.h"
#include "fs/OpenedFile.h"
#include "win32/FileTime.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

namespace cw {

namespace {

// Folder first (the user's, then all users'), then the exact name, as a run tells rows apart.
bool RowLess(const OrderRow& a, const OrderRow& b) {
    return a.allUsers != b.allUsers ? b.allUsers : a.name < b.name;
}

// The places 0..count-1 ordered by the row at each (folder, then exact name), equal rows in
// their order: a sorted list in one block, where a map or set would take a block of the heap
// per row and leave the heap larger after every check of the desktop.
template <typename RowAt> std::vector<std::uint32_t> PlacesByRow(std::size_t count, RowAt rowAt) {
    std::vector<std::uint32_t> places(count);
    for (std::size_t i = 0; i < count; ++i)
        places[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(places.begin(), places.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return RowLess(rowAt(a), rowAt(b)); });
    return places;
}

// The order's rows once each, gone ones too, then the listed rows that are not in it: the listed
// write time of each (none where it is gone) and, given `rows`, the rows themselves.
std::vector<std::optional<FileTimeValue>> MatchRows(const JournalRun& last,
                                                    const std::vector<DesktopItem>& listed,
                                                    std::vector<OrderRow>* rows) {
    // By folder and exact name, as a run names its files.
    const auto listedRow = [&](std::size_t i) -> const OrderRow& { return listed[i].Row; };
    const auto orderRow = [&](std::size_t i) -> const OrderRow& { return last.order[i]; };
    const std::vector<std::uint32_t> byRow = PlacesByRow(listed.size(), listedRow);
    const std::vector<std::uint32_t> orderByRow = PlacesByRow(last.order.size(), orderRow);
    std::vector<bool> first(last.order.size()); // a row named twice holds its first place
    for (std::size_t k = 0; k < orderByRow.size(); ++k)
        first[orderByRow[k]] =
            k == 0 || RowLess(orderRow(orderByRow[k - 1]), orderRow(orderByRow[k]));
    std::vector<std::optional<FileTimeValue>> written;
    std::vector<bool> ordered(listed.size()); // named by the order
    for (std::size_t i = 0; i < last.order.size(); ++i) {
        if (!first[i])
            continue;
        const OrderRow& row = last.order[i];
        if (rows)
            rows->push_back(row);
        const auto item = std::lower_bound(
            byRow.begin(), byRow.end(), row,
            [&](std::uint32_t place, const OrderRow& r) { return RowLess(listedRow(place), r); });
        const bool present = item != byRow.end() && !RowLess(row, listedRow(*item));
        if (present)
            ordered[*item] = true;
        written.push_back(present ? std::optional(listed[*item].Written) : std::nullopt);
    }
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (!ordered[i]) {
            if (rows)
                rows->push_back(listed[i].Row);
            written.push_back(listed[i].Written);
        }
    return written;
}

} // namespace

RepairPlan CheckReapply(const JournalRun& last, const std::vector<DesktopItem>& listed) {
    return PlanRepair(MatchRows(last, listed, nullptr), last.step);
}

ReapplyPlan PlanReapply(const JournalRun& last, const std::vector<DesktopItem>& listed) {
    ReapplyPlan plan;
    const std::vector<std::optional<FileTimeValue>> written = MatchRows(last, listed, &plan.rows);
    // The rows that are there: the order's, then the others.
    for (std::size_t i = 0; i < plan.rows.size(); ++i)
        if (written[i])
            plan.present.push_back(plan.rows[i]);
    plan.repair = PlanRepair(written, last.step);
    return plan;
}

StampOutcome StampRepair(Journal& journal, const DesktopFolders& folders, const ReapplyPlan& plan,
                         std::int16_t step, const ReportFailure& reportFailure) {
    JournalRun run;
    run.kind = RunKind::Reapply;
    run.started = UtcNow();
    run.folder = folders.user;
    run.allUsersFolder = folders.allUsers;
    run.step = step;
    StampOutcome outcome;
    for (const OrderRow& row : plan.present)
        if (IsUtf8(row.name))
            run.order.push_back(row);
    // Offsets from the clock's whole second, as a run stamps, so that a run cut short is still
    // told apart from what others wrote since.
    const FileTimeValue clock = run.started - run.started % kTicksPerSecond;
    std::vector<FileTimeValue> times;
    std::vector<bool> allUsers;
    for (std::size_t i = 0; i < plan.repair.outOfPlace.size(); ++i) {
        const OrderRow& row = plan.rows[plan.repair.outOfPlace[i]];
        const FileTimeValue to = plan.repair.times[i];
        if (!IsUtf8(row.name)) {
            outcome.unheld.push_back(row.name);
            continue;
        }
        const std::string& folder = folders.Of(row.allUsers);
        if (folder.empty())
            continue;
        const std::int64_t offset =
            (static_cast<std::int64_t>(to) - static_cast<std::int64_t>(clock)) / kTicksPerSecond;
        const std::string shortcut = folder + row.name;
        for (const std::string& path : {shortcut, folder + PifOf(row.name)}) {
            const std::optional<FileInfo> info = FileInfoOf(path);
            if (info && !info->IsFolder()) {
                run.files.push_back({path, offset, info->times, std::nullopt});
                times.push_back(to);
                allUsers.push_back(row.allUsers);
            } else if (path == shortcut && reportFailure) {
                reportFailure(path); // gone since the listing
            }
        }
    }
    if (!journal.Save(run))
        return outcome;
    outcome.journaled = true;
    std::unique_ptr<GuardedStamp> guarded; // holds the all-users desktop while its files are done
    for (std::size_t i = 0; i < run.files.size(); ++i) {
        JournalEntry& file = run.files[i];
        const FileTimeValue to = times[i];
        bool done = false;
        if (!allUsers[i]) {
            const OpenedFile handle(file.path, OpenedFile::Access::Stamp);
            done = handle && handle.SetTimes({to, to, to});
        } else {
            if (!guarded)
                guarded = std::make_unique<GuardedStamp>(folders.allUsers);
            const std::string name = file.path.substr(folders.allUsers.size());
            const StampReason reason = guarded->Stamp(name, {to, to, to});
            if (reason == StampReason::AccessDenied) {
                outcome.refused.push_back({file.path, to});
                continue;
            }
            done = reason == StampReason::Stamped;
        }
        if (done)
            file.stamped = to;
        else if (reportFailure)
            reportFailure(file.path);
    }
    run.finished = UtcNow();
    // Should this fail, the journal still holds the run as begun, which undoes as well.
    journal.Save(run);
    outcome.run = std::move(run);
    return outcome;
}

} // namespace cw
