#include "app/Repair.h"

#include "app/DesktopItems.h"
#include "app/Journal.h"
#include "app/PlannedFiles.h"
#include "fs/FileActions.h"
#include "fs/OpenedFile.h"
#include "win32/FileTime.h"

#include <unordered_map>
#include <unordered_set>

namespace cw {
namespace {

// The row a listed shortcut stands for in an order.
const std::string& RowOf(const DesktopItem& item) {
    return item.Title;
}

} // namespace

std::string RowShortcut(const std::string& folder, const std::string& row) {
    return folder + row + kRowExtensions[0];
}

ReapplyPlan PlanReapply(const JournalRun& last, const std::vector<DesktopItem>& listed) {
    std::unordered_map<std::string_view, const DesktopItem*> byRow;
    byRow.reserve(listed.size());
    std::vector<std::string> titles;
    titles.reserve(listed.size());
    for (const DesktopItem& item : listed) {
        byRow.emplace(RowOf(item), &item);
        titles.push_back(RowOf(item));
    }
    ReapplyPlan plan;
    plan.present = ReapplyRows(last.order, titles);
    std::vector<std::optional<FileTimeValue>> written;
    std::unordered_set<std::string_view> ordered;
    for (const std::string& row : last.order) {
        if (!ordered.insert(row).second)
            continue; // a row named twice holds its first place
        plan.rows.push_back(row);
        const auto item = byRow.find(row);
        written.push_back(item == byRow.end() ? std::nullopt
                                              : std::optional(item->second->Written));
    }
    for (const DesktopItem& item : listed)
        if (ordered.count(RowOf(item)) == 0) {
            plan.rows.push_back(RowOf(item));
            written.push_back(item.Written);
        }
    plan.repair = PlanRepair(written, last.step);
    return plan;
}

StampOutcome StampRepair(Journal& journal, const std::string& folder, const ReapplyPlan& plan,
                         std::int16_t step, const ReportFailure& reportFailure) {
    JournalRun run;
    run.kind = RunKind::Reapply;
    run.started = UtcNow();
    run.folder = folder;
    run.step = step;
    StampOutcome outcome;
    for (const std::string& row : plan.present)
        if (IsUtf8(row))
            run.order.push_back(row);
    // Offsets from the clock's whole second, as a run stamps, so that a run cut short is still
    // told apart from what others wrote since.
    const FileTimeValue clock = run.started - run.started % kTicksPerSecond;
    std::vector<FileTimeValue> times;
    for (std::size_t i = 0; i < plan.repair.outOfPlace.size(); ++i) {
        const std::string& row = plan.rows[plan.repair.outOfPlace[i]];
        const FileTimeValue to = plan.repair.times[i];
        if (!IsUtf8(row)) {
            outcome.unheld.push_back(row);
            continue;
        }
        const std::int64_t offset =
            (static_cast<std::int64_t>(to) - static_cast<std::int64_t>(clock)) / kTicksPerSecond;
        const std::string shortcut = RowShortcut(folder, row);
        for (const std::string& path :
             {shortcut, shortcut.substr(0, shortcut.size() - 4) + kRowExtensions[1]}) {
            const std::optional<FileInfo> info = FileInfoOf(path);
            if (info && !info->IsFolder()) {
                run.files.push_back({path, offset, info->times, std::nullopt});
                times.push_back(to);
            } else if (path == shortcut && reportFailure) {
                reportFailure(path); // gone since the listing
            }
        }
    }
    if (!journal.Save(run))
        return outcome;
    outcome.journaled = true;
    for (std::size_t i = 0; i < run.files.size(); ++i) {
        JournalEntry& file = run.files[i];
        const OpenedFile handle(file.path, OpenedFile::Access::Stamp);
        if (handle && handle.SetTimes({times[i], times[i], times[i]}))
            file.stamped = times[i];
        else if (reportFailure)
            reportFailure(file.path);
    }
    run.finished = UtcNow();
    // Should this fail, the journal still holds the run as begun, which undoes as well.
    journal.Save(run);
    return outcome;
}

} // namespace cw
