#pragma once
// The journal of the runs that stamped the desktop: one text file per run ("journal-000007.txt")
// in the user's own folder below the local application data, never on the desktop. Each file is
// written beside its place, flushed to disk and renamed over it, so that a crash leaves either
// the old text or the new one, never a torn one. The newest 20 runs are kept.
#include "app/JournalText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// The time now, as a file time.
FileTimeValue UtcNow();

class Journal {
public:
    static constexpr int kKeptRuns = 20;

    // `folder` ends in a backslash; it is made when the first run is written.
    explicit Journal(std::string folder);

    // "<local application data>\Norvanta\Clutterwise\"; "" when the system names no such folder.
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
    const std::vector<JournalRun>& Runs() const { return runs_; }
    // The newest run that has not been undone; null when there is none.
    const JournalRun* LatestToUndo() const;
    // The newest run on `desktopFolder` that has not been undone; null when none.
    const JournalRun* LastOrder(const std::string& desktopFolder) const;
    // `run`, one of Runs(), with its order and files. Null when its file cannot be read just now
    // (the next Load reads it again) or is damaged (set aside, and named by the next Load); the
    // run is dropped either way.
    JournalRun* ReadWhole(const JournalRun* run);

    // Writes `run` durably. A run without a number is new: it gets the next number, and the
    // oldest runs beyond the 20 kept are removed. False when it cannot be written, and for a
    // run read for its summary only.
    bool Save(JournalRun& run);

    // Appends one line, the local date and time first, to the log; false when it cannot.
    bool AppendLog(const std::string& text) const;

private:
    struct Identity {
        std::uint64_t size = 0, written = 0;
        friend bool operator==(const Identity&, const Identity&) = default;
    };
    std::string RunPath(std::int64_t number, const char* suffix) const;
    bool MakeFolder() const;
    void Prune() const;
    void Drop(const JournalRun& run);

    std::string folder_;
    std::vector<JournalRun> runs_;
    std::vector<Identity> identities_;  // of runs_' files, as last read or written
    std::vector<std::string> setAside_; // by ReadWhole, for the next Load to name
};

} // namespace cw
