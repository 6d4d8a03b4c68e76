#include "app/Runs.h"

#include "app/DesktopItems.h"
#include "app/Journal.h"
#include "app/NewOrder.h"
#include "fs/FileActions.h"
#include "fs/GuardedStamp.h"
#include "fs/FolderListing.h"
#include "fs/OpenedFile.h"
#include "fs/WatchedFolder.h"
#include "win32/FileTime.h"
#include "win32/Trace.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace cw {
namespace {

constexpr size_t kNamesShown = 20;

char AsciiFold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names in the order of their ASCII letters folded to lower case, where letter cases differ.
bool FoldedLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiFold(x) < AsciiFold(y); });
}

// Folder (with its backslash) and name of a full path.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The times of every file of one folder from a single listing: reading them file by file would
// cost a path lookup each, and opening a file could move its access time. The listing is the
// scan's where that still holds, else made now.
class FolderListing {
public:
    explicit FolderListing(std::string folder, const WatchedFolder* scanned = nullptr)
        : folder_(std::move(folder)) {
        if (scanned && scanned->Folder() == folder_ && scanned->Holds()) {
            for (size_t file = 0; file < scanned->Files(); ++file)
                files_.push_back({scanned->Name(file), &scanned->Times(file)});
        } else {
            const TraceStep trace("list");
            own_ = ListFolder(folder_);
            for (const FolderEntry& entry : own_)
                if (!entry.info.IsFolder())
                    files_.push_back({entry.name, &entry.info.times});
        }
        std::sort(files_.begin(), files_.end(), ByFoldedName());
    }

    // The times of the file `name`: those of the listed name spelt exactly so, so that two names
    // that differ only in letter case (a case-sensitive folder) keep their own. Any other spelling
    // (other letter cases, a short name) is looked up on its own, so that the folder itself decides
    // as it does when the file is stamped: always when `lookAlone`, else only when the listing
    // holds the name in other letter cases (looking for a name that is not there costs Wine a
    // read of the whole folder).
    std::optional<FileTimes> Find(const std::string& name, bool lookAlone) const {
        const auto [from, to] =
            std::equal_range(files_.begin(), files_.end(), name, ByFoldedName());
        for (auto file = from; file != to; ++file)
            if (file->name == name)
                return *file->times;
        if (from == to && !lookAlone)
            return std::nullopt;
        const std::optional<FileInfo> alone = FileInfoOf(folder_ + name);
        if (!alone || alone->IsFolder())
            return std::nullopt;
        return alone->times;
    }

    bool HoldsAny(std::string_view extension) const {
        const auto same = [](char a, char b) { return AsciiFold(a) == AsciiFold(b); };
        for (const Entry& file : files_)
            if (file.name.size() >= extension.size() &&
                std::equal(extension.begin(), extension.end(), file.name.end() - extension.size(),
                           same))
                return true;
        return false;
    }

private:
    // A listed file, viewed in the listing it comes from.
    struct Entry {
        std::string_view name;
        const FileTimes* times;
    };
    struct ByFoldedName {
        bool operator()(const Entry& a, const Entry& b) const { return FoldedLess(a.name, b.name); }
        bool operator()(const Entry& a, std::string_view b) const { return FoldedLess(a.name, b); }
        bool operator()(std::string_view a, const Entry& b) const { return FoldedLess(a, b.name); }
    };

    std::string folder_;
    std::vector<FolderEntry> own_; // the listing made here, where the scan's no longer holds
    std::vector<Entry> files_;     // by folded name, for lookups without a hash table's allocations
};

// Whether `written` is the last-write time `run` gave `file`, or, where the run did not get to
// record it, can be.
bool IsStampOf(const JournalRun& run, const JournalEntry& file, FileTimeValue written,
               FileTimeValue until) {
    return file.stamped ? written == *file.stamped
                        : MayBeStampOfRun(written, file.offset, run.started, until);
}

} // namespace

JournalRun PlanRun(RunKind kind, const DesktopFolders& folders, const std::vector<OrderRow>& rows,
                   std::int16_t step, const DesktopListing& scanned) {
    JournalRun run;
    run.kind = kind;
    run.started = UtcNow();
    run.folder = folders.user;
    run.allUsersFolder = folders.allUsers;
    run.step = step;
    // The files processing will stamp: each row's file and, where its folder has any ".pif", the
    // ".pif" of its title; none of a row whose name the journal cannot hold. A folder is listed
    // only when a row lies in it.
    std::optional<FolderListing> present[2];
    bool anyPif[2] = {false, false};
    for (size_t row = 0; row < rows.size(); ++row) {
        const bool allUsers = rows[row].allUsers;
        const std::string& folder = folders.Of(allUsers);
        if (!IsUtf8(rows[row].name) || folder.empty())
            continue;
        run.order.push_back(rows[row]);
        if (!present[allUsers]) {
            present[allUsers].emplace(folder, scanned.Of(allUsers));
            anyPif[allUsers] = present[allUsers]->HoldsAny(kPifExtension);
        }
        for (const bool shortcut : {true, false}) {
            if (!shortcut && !anyPif[allUsers])
                continue;
            std::string name = shortcut ? rows[row].name : PifOf(rows[row].name);
            if (const auto times = present[allUsers]->Find(name, shortcut)) {
                const auto offset = RowOffsetSeconds(step, static_cast<std::int32_t>(row));
                run.files.push_back({folder + name, offset, *times, std::nullopt});
            }
        }
    }
    return run;
}

StampOutcome StampJournaled(Journal& journal, const FileSystem& fs, RunKind kind,
                            const DesktopFolders& folders, const std::vector<OrderRow>& rows,
                            std::int16_t step, const ReportFailure& reportFailure,
                            const DesktopListing& scanned) {
    JournalRun run;
    {
        const TraceStep trace("plan", std::to_string(rows.size()));
        run = PlanRun(kind, folders, rows, step, scanned);
    }
    StampOutcome outcome;
    if (!journal.Save(run))
        return outcome;
    outcome.journaled = true;
    // A row the journal could not hold is not stamped and is named by the caller, not as a file
    // that cannot be accessed.
    std::unordered_set<std::string> unheld;
    for (const OrderRow& row : rows)
        if (!IsUtf8(row.name)) {
            outcome.unheld.push_back(row.name);
            unheld.insert(folders.Of(row.allUsers) + row.name);
        }
    const ReportFailure report = [&](const std::string& path) {
        if (reportFailure && unheld.count(path) == 0)
            reportFailure(path);
    };
    // The plan's listing answers which files are there: asking the file system again for each
    // would cost more than the journal itself. Keyed by the run's own paths, which stay put while
    // it stamps: a copy of each would cost as much again, while the journal is written.
    std::unordered_map<std::string_view, size_t> planned;
    planned.reserve(run.files.size());
    for (size_t i = 0; i < run.files.size(); ++i)
        planned.emplace(run.files[i].path, i);
    StampHooks hooks;
    hooks.isFile = [&](const std::string& path) { return planned.count(path) > 0; };
    hooks.stamped = [&](const std::string& path, DateTime stamp) {
        if (const auto file = planned.find(path); file != planned.end())
            run.files[file->second].stamped = FileTimeOfLocal(stamp);
    };
    hooks.refused = [&](const std::string& path, DateTime stamp) {
        outcome.refused.push_back({path, FileTimeOfLocal(stamp)});
    };
    StampNewOrder(fs, folders, rows, step, report, hooks);
    run.finished = UtcNow();
    // Should this fail, the journal still holds the run as begun, which undoes as well.
    journal.Save(run);
    outcome.run = std::move(run);
    return outcome;
}

bool MayBeStampOfRun(FileTimeValue written, std::int64_t offset, FileTimeValue started,
                     FileTimeValue until) {
    // Processing writes the local clock's whole second plus the row's offset.
    if (written % kTicksPerSecond != 0)
        return false;
    const auto clock = static_cast<std::int64_t>(written) - offset * kTicksPerSecond;
    const auto from = static_cast<std::int64_t>(started - started % kTicksPerSecond);
    return clock >= from && clock <= static_cast<std::int64_t>(until) + kTicksPerSecond;
}

UndoReport UndoRun(Journal& journal, const JournalRun& run, const ReportFailure& reportFailure) {
    UndoReport report;
    // An undo begun before takes only the files it could not restore then.
    const std::unordered_set<std::string_view> still(run.pending.begin(), run.pending.end());
    const FileTimeValue until = run.finished.value_or(UtcNow());
    std::unique_ptr<GuardedStamp> guarded; // holds the all-users desktop while its files are done
    for (const JournalEntry& file : run.files) {
        if (!still.empty() && still.count(file.path) == 0)
            continue;
        ++report.total;
        const auto untouched = [&](FileTimeValue written) {
            return written == file.original.written || IsStampOf(run, file, written, until);
        };
        const auto fail = [&] {
            report.failed.push_back(file.path);
            if (reportFailure)
                reportFailure(file.path);
        };
        // A file of the all-users desktop by the guarded stamp's rules, as it was stamped.
        if (!run.allUsersFolder.empty() && file.path.starts_with(run.allUsersFolder)) {
            if (!guarded)
                guarded = std::make_unique<GuardedStamp>(run.allUsersFolder);
            const FileTimes& back = file.original;
            // A file the run never got to stamp (refused, and no rights asked for) needs none now.
            if (const auto present = FileInfoOf(file.path);
                present && !file.stamped && present->times == back) {
                ++report.restored;
                continue;
            }
            switch (guarded->Stamp(file.path.substr(run.allUsersFolder.size()),
                                   {back.created, back.accessed, back.written}, untouched)) {
            case StampReason::Stamped:
                ++report.restored;
                break;
            case StampReason::Missing:
            case StampReason::Folder:
                report.gone.push_back(file.path);
                break;
            case StampReason::ChangedSince:
                report.changed.push_back(file.path);
                break;
            case StampReason::AccessDenied:
                // Asked for once, with the others, by the caller.
                report.refused.push_back(file.path);
                report.failed.push_back(file.path);
                break;
            default:
                fail();
            }
            continue;
        }
        // Opened as processing opens a file to stamp it, so that both fail alike. The times are
        // read through the same handle: no second lookup of the path, no access time moved.
        const OpenedFile handle(file.path, OpenedFile::Access::Stamp);
        const std::optional<FileTimes> times = handle.Times();
        if (!times) {
            const std::optional<FileInfo> present = FileInfoOf(file.path);
            if (!present || present->IsFolder())
                report.gone.push_back(file.path);
            else if (!untouched(present->times.written))
                report.changed.push_back(file.path);
            else
                fail();
            continue;
        }
        if (!untouched(times->written))
            report.changed.push_back(file.path);
        else if (handle.SetTimes(file.original))
            ++report.restored;
        else
            fail();
    }
    // Undone only when no file is left to restore; the rest wait for the next Undo.
    JournalRun after = run;
    after.pending = report.failed;
    if (report.failed.empty())
        after.undone = UtcNow();
    report.saved = journal.Save(after);
    report.run = std::move(after);
    return report;
}

bool WasCutShort(const JournalRun& run) {
    return !run.finished && !run.undone && run.pending.empty();
}

std::optional<std::string> CutShortNotice(const JournalRun& run) {
    if (!WasCutShort(run))
        return std::nullopt;
    std::optional<FolderListing> present[2];
    const FileTimeValue now = UtcNow();
    int shortcuts = 0, stamped = 0;
    for (const JournalEntry& file : run.files) {
        const auto [folder, name] = SplitPath(file.path);
        if (!IsShortcutName(name))
            continue;
        ++shortcuts;
        const bool allUsers = folder != run.folder;
        if (!present[allUsers])
            present[allUsers].emplace(folder);
        const std::optional<FileTimes> times = present[allUsers]->Find(name, false);
        stamped += times && times->written != file.original.written &&
                   IsStampOf(run, file, times->written, now);
    }
    const std::optional<CalendarTime> started = LocalCalendarTime(run.started);
    return "The run of " + (started ? FormatDateTime(*started) : FormatFileTime(run.started)) +
           " was cut short: " + std::to_string(stamped) + " of " + std::to_string(shortcuts) +
           " shortcuts were stamped. Undo puts their times back; Process or Reapply Order "
           "finishes the order.";
}

std::string UndoSummary(const UndoReport& report) {
    std::string text = "Restored " + std::to_string(report.restored) + " of " +
                       std::to_string(report.total) + " shortcuts.";
    if (const size_t still = report.failed.size(); still > 0)
        text += "\r\n" + std::to_string(still) +
                (still == 1 ? " shortcut is still to restore: press Undo again once it is free."
                            : " shortcuts are still to restore: press Undo again once they are "
                              "free.");
    const size_t leftAlone = report.changed.size() + report.gone.size();
    if (leftAlone == 0)
        return text;
    text += "\r\nLeft alone:";
    size_t shown = 0;
    for (const auto& [paths, reason] :
         {std::pair{&report.changed, " (changed since)"}, std::pair{&report.gone, " (gone)"}})
        for (const std::string& path : *paths)
            if (shown < kNamesShown) {
                text += "\r\n" + SplitPath(path).second + reason;
                ++shown;
            }
    if (leftAlone > shown)
        text += "\r\nand " + std::to_string(leftAlone - shown) + " more";
    return text;
}

} // namespace cw
