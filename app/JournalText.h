#pragma once
// The text form of one run's journal: plain UTF-8, one fact a line, readable by a person.
//
// clang-format off
//   Clutterwise journal 2
//   # Times in UTC to 100 ns. file: offset in seconds, original creation, last-access and
//   # last-write time, the time the run wrote ("-" until it has), full path.
//   run 7
//   kind process
//   started 2026-05-12T08:15:00.1234567Z
//   folder C:\Users\Ann\Desktop\         (the user's desktop folder, with its final backslash)
//   all-users C:\Users\Public\Desktop\   (the desktop of all users; absent when there was none)
//   method ascending
//   order user Mail.lnk                  (each row: its folder, "user" or "all-users", and file)
//   order all-users Notes.url
//   file +0 2025-11-02T09:00:01.5000000Z 2026-05-10T17:40:22.0312500Z 2025-11-02T09:00:01.5000000Z - C:\Users\Ann\Desktop\Mail.lnk
//   file +60 ... - C:\Users\Ann\Desktop\Notes.lnk
//   pending C:\Users\Ann\Desktop\Notes.lnk     (an undo could not restore it yet; not undone)
//   finished 2026-05-12T08:15:00.9000000Z
//   undone 2026-05-12T08:20:13.0000000Z           (every file restored, changed since, or gone)
//   end
// clang-format on
//
// A journal of version 1 has no "all-users" line and its order lines hold titles only
// ("order Mail"): the user's folder's ".lnk" files.
//
// Names and paths are written as they are, but for what a line cannot hold (control characters,
// DEL) and "<", which are escaped as "<7F>". A line that does not follow this form makes the whole
// text unreadable: a journal that has been cut short or changed by hand is never half believed.
// Nothing here touches the platform, so the reader can be fuzzed natively.
#include "fs/FileInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// One file the run stamps.
struct JournalEntry {
    std::string path;
    std::int64_t offset = 0; // seconds the run adds to the clock for this file's row
    FileTimes original;
    std::optional<FileTimeValue> stamped; // the last-write time the run left, once known
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

enum class RunKind { Process, Reapply };

// One row of an order: the file it stands for, in the user's desktop or in that of all users.
struct OrderRow {
    bool allUsers = false;
    std::string name; // the file's name with its extension (".lnk" or ".url")
    friend bool operator==(const OrderRow&, const OrderRow&) = default;
};

struct JournalRun {
    std::int64_t number = 0; // 1, 2, ... in the order the runs were made
    RunKind kind = RunKind::Process;
    FileTimeValue started = 0;
    std::string folder;               // the user's desktop folder, ending in a backslash
    std::string allUsersFolder;       // the desktop of all users, likewise; "" when none
    std::int16_t step = 60;           // +60 ascending, -60 descending
    std::vector<OrderRow> order;      // the new order's files, top row first
    std::vector<JournalEntry> files;  // in the order they are stamped
    std::vector<std::string> pending; // paths of files an undo begun could not restore yet
    std::optional<FileTimeValue> finished, undone;
    bool whole = true; // false: read for its summary, without its order and files
    friend bool operator==(const JournalRun&, const JournalRun&) = default;
};

struct JournalReadResult {
    std::optional<JournalRun> run;
    int line = 0; // 1-based line of the fault; 0 when the fault is the text as a whole
    std::string error;
};

constexpr int kJournalVersion = 2;

// `summary`: the text lacks the run's "order" and "file" lines (a large journal read for its
// summary), so the lines that name its files are taken as they stand until it is read whole.
JournalReadResult ReadJournal(std::string_view text, bool summary = false);
// Nothing when a text of the run is not UTF-8 (a name this program's code page did not give).
std::optional<std::string> WriteJournal(const JournalRun& run);

// "2026-05-12T08:15:00.1234567Z" and back; the reader takes only this exact form.
std::string FormatFileTime(FileTimeValue value);
std::optional<FileTimeValue> ParseFileTime(std::string_view text);

bool IsUtf8(std::string_view text);

} // namespace cw
