#pragma once
// The journal of the runs that stamped the desktop: one text file per run ("journal-000007.txt")
// in the user's own folder below the local application data, never on the desktop. Each file is
// replaced durably (fs/DurableReplace), so that a crash leaves either the old text or the new one,
// never a torn one. The newest 20 runs are kept.
#include "app/JournalText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

class Journal {
public:
    static constexpr int kKeptRuns = 20;

    // One run as read or written, with the size and write time its file had then: a file that
    // still has both is not read again.
    struct Kept {
        JournalRun run;
        std::uint64_t size = 0;
        FileTimeValue written = 0;
    };

    // `folder` ends in a backslash; it is made when the first run is written.
    explicit Journal(std::string folder);

    // "<local application data>\Norvanta\Clutterwise\", from the shell or else the environment
    // (LOCALAPPDATA); "" when neither names one.
    static std::string UserFolder();

    const std::string& Folder() const { return folder_; }
    // The log of the runs started from the command line, beside the journal.
    std::string LogPath() const { return folder_ + "clutterwise.log"; }

    // Reads the runs kept in the folder (again: files unchanged since the last read are not read
    // twice). A journal that cannot be read is renamed to "journal-000007.damaged.txt" and its
    // new full path returned, so that the caller reports it once; the rest are read on.
    // A large journal is read for its summary only (its beginning and its end), so that starting
    // costs the same however many rows the kept runs stamped; ReadWhole reads the rest on demand.
    std::vector<std::string> Load();

    // The runs read, oldest first.
    const std::vector<Kept>& Runs() const { return runs_; }
    // The newest run that has not been undone; null when there is none.
    const JournalRun* LatestToUndo() const;
    // The newest run on `desktopFolder` whose undoing has not begun; null when none.
    const JournalRun* LastOrder(const std::string& desktopFolder) const;
    // `run`, one of Runs(), with its order and files. Null when its file cannot be read just now
    // (the next Load reads it again) or is damaged (set aside, and named by the next Load); the
    // run is dropped either way.
    JournalRun* ReadWhole(const JournalRun* run);
    // `run` with its order but not its files, which make most of a large journal: all that a
    // check of the desktop against the order needs. Null as for ReadWhole.
    const JournalRun* ReadOrder(const JournalRun* run);

    // Writes `run` durably. A run without a number is new: it gets the next number, and the
    // oldest runs beyond the 20 kept are removed. False when it cannot be written (Error says
    // why, naming the file), and for a run read for its summary only.
    bool Save(JournalRun& run);
    const std::string& Error() const { return error_; }

    // Appends one line, the local date and time first, to the log; false when it cannot.
    bool AppendLog(const std::string& text) const;

private:
    std::string RunPath(std::int64_t number, const char* suffix) const;
    std::string SetAside(std::int64_t number);
    JournalRun* ReadAgain(const JournalRun* run, bool orderOnly);
    void Prune() const;

    std::string folder_;
    std::vector<Kept> runs_;            // by number
    std::vector<std::string> setAside_; // by ReadWhole, for the next Load to name
    std::string error_;                 // why the last Save failed
};

} // namespace cw
