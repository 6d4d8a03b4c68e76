#include "app/Repair.h"

#include "app/DesktopItems.h"
#include "app/Journal.h"
#include "app/PlannedFiles.h"
#include "fs/FileActions.h"
#include "fs/GuardedStamp.h"
#include "fs/OpenedFile.h"
#include "win32/FileTime.h"

#include <memory>
#include <unordered_map>

namespace cw {

ReapplyPlan PlanReapply(const JournalRun& last, const std::vector<DesktopItem>& listed) {
    // By folder and exact name, as a run names its files.
    std::unordered_map<RowKey, const DesktopItem*, RowKeyHash> byRow;
    byRow.reserve(listed.size());
    for (const DesktopItem& item : listed)
        byRow.emplace(RowKey(item.Row), &item);
    ReapplyPlan plan;
    std::vector<std::optional<FileTimeValue>> written;
    RowKeys ordered;
    ordered.reserve(last.order.size());
    for (const OrderRow& row : last.order) {
        if (!ordered.insert(RowKey(row)).second)
            continue; // a row named twice holds its first place
        plan.rows.push_back(row);
        const auto item = byRow.find(RowKey(row));
        written.push_back(item == byRow.end() ? std::nullopt
                                              : std::optional(item->second->Written));
    }
    for (const DesktopItem& item : listed)
        if (ordered.count(RowKey(item.Row)) == 0) {
            plan.rows.push_back(item.Row);
            written.push_back(item.Written);
        }
    plan.repair = PlanRepair(written, last.step);
    for (std::size_t i = 0; i < plan.rows.size(); ++i)
        if (written[i])
            plan.present.push_back(plan.rows[i]);
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
