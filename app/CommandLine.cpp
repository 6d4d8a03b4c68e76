#include "app/CommandLine.h"

#include "app/DesktopItems.h"
#include "app/Journal.h"
#include "app/Repair.h"
#include "app/Runs.h"
#include "fs/Desktop.h"
#include "fs/FileSystem.h"

#include <windows.h>

#include <exception>
#include <string>

namespace cw {

const char* const kUsage =
    "Usage: clutterwise.exe [/reapply | /undo | /status]\r\n"
    "\r\n"
    "/reapply: puts the desktop's shortcuts back in the order last applied, stamping only those "
    "out of place.\r\n"
    "/undo: puts back the times that the latest run changed.\r\n"
    "/status: tells by its exit code alone whether the desktop is in the order last applied: "
    "0 in order, 3 some shortcuts out of place, 1 no order applied.\r\n"
    "\r\n"
    "Without a switch the window opens. Exit codes: 0 done, 1 nothing to reapply or undo, "
    "2 some files failed (listed in clutterwise.log beside the journal).";

Switch ReadSwitch(std::string_view commandLine) {
    const size_t first = commandLine.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return Switch::None;
    commandLine = commandLine.substr(first, commandLine.find_last_not_of(" \t") + 1 - first);
    if (lstrcmpiA(std::string(commandLine).c_str(), "/reapply") == 0)
        return Switch::Reapply;
    if (lstrcmpiA(std::string(commandLine).c_str(), "/undo") == 0)
        return Switch::Undo;
    if (lstrcmpiA(std::string(commandLine).c_str(), "/status") == 0)
        return Switch::Status;
    return Switch::Unknown;
}

namespace {

// True when there was one to log.
bool LogSetAside(Journal& journal, const std::string& prefix) {
    const std::vector<std::string> setAside = journal.Load();
    for (const std::string& path : setAside)
        journal.AppendLog(prefix + "a journal that could not be read was set aside: " + path);
    return !setAside.empty();
}

// The run read whole; null, with the reason in the log, when its journal cannot be read.
const JournalRun* ReadWholeOrLog(Journal& journal, const JournalRun* run,
                                 const std::string& prefix) {
    const std::int64_t number = run->number;
    if (const JournalRun* whole = journal.ReadWhole(run))
        return whole;
    if (!LogSetAside(journal, prefix))
        journal.AppendLog(prefix + "the journal of run " + std::to_string(number) +
                          " cannot be read just now");
    return nullptr;
}

int Reapply(Journal& journal) {
    const FileSystem fs;
    std::string missing;
    const DesktopFolders folders = FindDesktopFolders(fs, missing);
    if (!missing.empty()) {
        journal.AppendLog("/reapply: " + missing);
        return kExitSomeFailed;
    }
    const std::string& desktop = folders.user;
    const JournalRun* saved = journal.LastOrder(desktop);
    if (!saved) {
        journal.AppendLog("/reapply: there is no saved order");
        return kExitNothingSaved;
    }
    const JournalRun* last = ReadWholeOrLog(journal, saved, "/reapply: ");
    if (!last)
        return kExitSomeFailed;
    const std::int16_t step = last->step;
    DesktopListing scanned;
    const ReapplyPlan plan = PlanReapply(*last, ScanDesktopItems(folders, &scanned));
    if (plan.InOrder())
        return kExitDone;
    bool failed = false;
    const ReportFailure report = [&](const std::string& path) {
        failed = true;
        journal.AppendLog("/reapply: Error accessing " + path);
    };
    const StampOutcome outcome = plan.repair.afresh
                                     ? StampJournaled(journal, fs, RunKind::Reapply, folders,
                                                      plan.present, step, report, scanned)
                                     : StampRepair(journal, folders, plan, step, report);
    // No question without a window: what needs an administrator's rights stays as it is.
    for (const RefusedFile& file : outcome.refused) {
        failed = true;
        journal.AppendLog("/reapply: refused, needs administrator rights: " + file.path);
    }
    for (const std::string& row : outcome.unheld) {
        failed = true;
        journal.AppendLog("/reapply: not stamped, as the journal cannot hold its name: " + row);
    }
    if (!outcome.journaled) {
        journal.AppendLog("/reapply: nothing was stamped: " + journal.Error());
        return kExitSomeFailed;
    }
    Desktop().Arrange();
    Desktop().Refresh();
    Desktop().SortByDate(step > 0); // the exit code tells of the files only
    return failed ? kExitSomeFailed : kExitDone;
}

// Reads and writes nothing but the journal's own folder, which Load may tidy: a script asks it.
int Status(Journal& journal) {
    std::string missing;
    const DesktopFolders folders = FindDesktopFolders(FileSystem(), missing);
    if (!missing.empty())
        return kExitSomeFailed;
    const std::string& desktop = folders.user;
    const JournalRun* saved = journal.LastOrder(desktop);
    if (!saved)
        return StatusExitCode(false, 0);
    const JournalRun* last = journal.ReadOrder(saved);
    if (!last)
        return kExitSomeFailed;
    return StatusExitCode(true, CheckReapply(*last, ScanDesktopItems(folders)).outOfPlace.size());
}

int Undo(Journal& journal) {
    const JournalRun* latest = journal.LatestToUndo();
    if (!latest) {
        journal.AppendLog("/undo: there is no run to undo");
        return kExitNothingSaved;
    }
    const JournalRun* run = ReadWholeOrLog(journal, latest, "/undo: ");
    if (!run)
        return kExitSomeFailed;
    const std::int16_t step = run->step; // the run is not held past UndoRun's save
    const UndoReport report = UndoRun(journal, *run, [&](const std::string& path) {
        journal.AppendLog("/undo: Error accessing " + path);
    });
    for (const std::string& path : report.refused)
        journal.AppendLog("/undo: refused, needs administrator rights: " + path);
    for (const std::string& path : report.changed)
        journal.AppendLog("/undo: left alone, changed since the run: " + path);
    for (const std::string& path : report.gone)
        journal.AppendLog("/undo: left alone, gone: " + path);
    if (!report.saved)
        journal.AppendLog("/undo: the undo could not be recorded: " + journal.Error());
    Desktop().Arrange();
    Desktop().Refresh();
    Desktop().SortByDate(step > 0);
    return report.failed.empty() && report.saved ? kExitDone : kExitSomeFailed;
}

} // namespace

int RunSwitch(Switch which) {
    Journal journal(Journal::UserFolder());
    if (which == Switch::Status) // prints and logs nothing
        try {
            journal.Load();
            return Status(journal);
        } catch (const std::exception&) {
            return kExitSomeFailed;
        }
    try {
        LogSetAside(journal, "");
        switch (which) {
        case Switch::Reapply:
            return Reapply(journal);
        case Switch::Undo:
            return Undo(journal);
        default:
            return kExitUsage;
        }
    } catch (const std::exception& failure) {
        journal.AppendLog(std::string(which == Switch::Undo ? "/undo: " : "/reapply: ") +
                          failure.what());
        return kExitSomeFailed;
    }
}

} // namespace cw
