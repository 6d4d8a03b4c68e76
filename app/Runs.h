#pragma once
// Runs that change the desktop's file times and can be taken back: processing a new order and
// reapplying the last one, both recorded in the journal before the first file is stamped, and
// undoing the newest run that has not been undone.
#include "app/DesktopItems.h"
#include "app/JournalText.h"
#include "win32/DateTime.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class FileSystem;
class Journal;

using ReportFailure = std::function<void(const std::string& path)>;

// The run that will stamp `rows` of `folders`: every file it will stamp, with its original times,
// from one listing of each folder (no file is opened): the scan's `scanned` where it still holds,
// else one made now.
JournalRun PlanRun(RunKind kind, const DesktopFolders& folders, const std::vector<OrderRow>& rows,
                   std::int16_t step, const DesktopListing& scanned = {});

// A file of the all-users desktop that Windows refused for want of rights, and the last-write time
// it was to get (none when it is to get its original times back).
struct RefusedFile {
    std::string path;
    std::optional<FileTimeValue> stamp;
};

struct StampOutcome {
    bool journaled = false;          // false: nothing stamped, the journal cannot be written
    std::vector<std::string> unheld; // rows' files not stamped, as the journal cannot hold them
    // Full paths of the all-users desktop's files Windows refused for want of rights: not stamped.
    std::vector<RefusedFile> refused;
    JournalRun run; // the run as saved last
};

// Stamps `rows` as StampNewOrder does, with the journal written first: every file the run will
// stamp, with its original times, is on disk before the first stamp; afterwards the times written
// are added. Nothing is stamped when the journal cannot be written. The plan's times come from
// `scanned` as PlanRun's do.
StampOutcome StampJournaled(Journal& journal, const FileSystem& fs, RunKind kind,
                            const DesktopFolders& folders, const std::vector<OrderRow>& rows,
                            std::int16_t step, const ReportFailure& reportFailure,
                            const DesktopListing& scanned = {});

struct UndoReport {
    int restored = 0, total = 0;
    std::vector<std::string> changed; // full paths of files changed since the run, left alone
    std::vector<std::string> gone;    // full paths of files no longer there
    std::vector<std::string> failed;  // full paths of files whose times could not be written
    // Full paths of the all-users desktop's files Windows refused for want of rights; they are
    // among `failed`, still to restore.
    std::vector<std::string> refused;
    bool saved = true; // whether the journal now records what was done
    JournalRun run;    // the run as saved
};

// Whether `written` can be the last-write time a run that started at `started` and had not
// ended by `until` gave a file of its row `offset`: the clock's whole second plus the offset.
bool MayBeStampOfRun(FileTimeValue written, std::int64_t offset, FileTimeValue started,
                     FileTimeValue until);

// Puts every file of `run` back to its three original times (only those still to restore, when an
// undo of it has begun), except files changed since by something else (their write time neither
// the original nor the run's) and files that are gone; a file that cannot be written goes to
// `reportFailure` and the rest go on. Then the journal records the run as undone, or, when some
// could not be written, which files are still to restore: the next undo takes them.
UndoReport UndoRun(Journal& journal, const JournalRun& run, const ReportFailure& reportFailure);

// A run with no "finished" record whose undoing has not begun: the program was killed, or the
// machine switched off, half-way.
bool WasCutShort(const JournalRun& run);
// What the start says of such a run, `run` read whole: when it was, and how many of its shortcuts
// were stamped; nothing for a run that was not cut short.
std::optional<std::string> CutShortNotice(const JournalRun& run);

// "Restored 8 of 10 shortcuts." and the names left alone, at most 20, then "and K more".
std::string UndoSummary(const UndoReport& report);

} // namespace cw
