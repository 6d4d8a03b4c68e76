#include "app/Journal.h"

#include "fs/DurableReplace.h"
#include "fs/FileActions.h"
#include "fs/FolderListing.h"
#include "fs/OpenedFile.h"
#include "fs/SpecialFolders.h"
#include "win32/Errors.h"
#include "win32/FileTime.h"
#include "win32/Trace.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

namespace cw {
namespace {

constexpr const char* kPrefix = "journal-";
constexpr const char* kRunSuffix = ".txt";
constexpr const char* kSetAsideSuffix = ".damaged.txt";
constexpr const char* kTempSuffix = ".tmp";
// A journal holds at most two files per row of a list (32,767 rows): far below this.
constexpr std::uint64_t kLargestJournal = 256ull << 20;
constexpr std::uint64_t kLargestLog = 1ull << 20;
// A journal larger than this is read for its summary: its lines before the first "order" or
// "file" line and after the last, each found within this many bytes of its end of the file.
constexpr std::uint64_t kSummaryReach = 64u << 10;
// A temporary file this old was left by a writer that did not finish.
constexpr FileTimeValue kStaleTemp = 10ull * 60 * kTicksPerSecond;

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// Run numbers as the program writes them in its file names: six digits, from 1 on.
constexpr size_t kNumberDigits = 6;
constexpr std::int64_t kLastNumber = 999'999;

// The run number in a journal file's name, and what follows it.
struct JournalName {
    std::int64_t number = 0;
    std::string rest;
};

// A name with another number (none, 0, more digits) is no journal of this program's: it neither
// blocks nor numbers a run, and is left as it is.
std::optional<JournalName> SplitName(const std::string& name) {
    const auto digit = [&](size_t at) {
        return at < name.size() && name[at] >= '0' && name[at] <= '9';
    };
    const size_t prefix = std::char_traits<char>::length(kPrefix);
    if (name.compare(0, prefix, kPrefix) != 0 || digit(prefix + kNumberDigits))
        return std::nullopt;
    for (size_t at = prefix; at < prefix + kNumberDigits; ++at)
        if (!digit(at))
            return std::nullopt;
    const std::int64_t number = std::stoll(name.substr(prefix, kNumberDigits));
    if (number == 0)
        return std::nullopt;
    return JournalName{number, name.substr(prefix + kNumberDigits)};
}

// The journal files of the folder, by number: each file's name split, with what the listing says.
std::vector<std::pair<JournalName, FolderEntry>> ListJournals(const std::string& folder) {
    std::vector<std::pair<JournalName, FolderEntry>> found;
    for (FolderEntry& entry : ListFolder(folder, std::string(kPrefix) + "*"))
        if (auto split = SplitName(entry.name); split && !entry.info.IsFolder())
            found.emplace_back(std::move(*split), std::move(entry));
    return found;
}

// Whether a line holds one of a run's rows: an "order" or a "file" line.
bool IsRowLine(std::string_view line) {
    const std::string_view key = line.substr(0, line.find_first_of(" \n"));
    return key == "order" || key == "file";
}

bool IsFileLine(std::string_view line) {
    return line.substr(0, line.find_first_of(" \n")) == "file";
}

// Where the first whole line of `text` that `skipped` takes begins; npos when there is none.
size_t FirstLine(std::string_view text, bool (*skipped)(std::string_view)) {
    for (size_t at = 0; at < text.size();) {
        const size_t next = text.find('\n', at);
        if (next == std::string_view::npos)
            break;
        if (skipped(text.substr(at, next - at)))
            return at;
        at = next + 1;
    }
    return std::string_view::npos;
}

// A journal's text, or for a large one its text without its "order" and "file" lines (with
// `withOrder`, without its "file" lines only): what its summary, or its order, is read from. The
// rows are left unchecked until the run is read whole.
std::optional<std::string> ReadSummaryText(const std::string& path, bool withOrder, bool& whole) {
    const OpenedFile file(path, OpenedFile::Access::Contents);
    const std::uint64_t size = file.Size().value_or(kLargestJournal + 1);
    if (size > kLargestJournal)
        return std::nullopt;
    whole = size <= 2 * kSummaryReach;
    std::string head(static_cast<size_t>(whole ? size : kSummaryReach), '\0');
    if (!file.Read(0, head))
        return std::nullopt;
    if (whole)
        return head;
    std::string tail(kSummaryReach, '\0');
    if (!file.Read(size - kSummaryReach, tail))
        return std::nullopt;
    const auto skipped = withOrder ? IsFileLine : IsRowLine;
    size_t rows = FirstLine(head, skipped); // where the first line left out begins
    // A large order reaches past the first block: read on, in ever larger blocks, to its files.
    for (std::uint64_t end = head.size();
         rows == std::string::npos && end < size - kSummaryReach;) {
        std::string more(static_cast<size_t>(std::min(end, size - kSummaryReach - end)), '\0');
        if (!file.Read(end, more))
            return std::nullopt;
        const size_t from = head.rfind('\n') + 1; // the line the block cut
        head += more;
        end = head.size();
        if (const size_t found = FirstLine(std::string_view(head).substr(from), skipped);
            found != std::string::npos)
            rows = from + found;
    }
    size_t after = std::string::npos; // where the line after the last row line begins
    for (size_t at = tail.find('\n'); at != std::string::npos && at + 1 < tail.size();) {
        const size_t next = tail.find('\n', at + 1);
        if (IsRowLine(std::string_view(tail).substr(at + 1, next - at - 1)))
            after = next == std::string::npos ? tail.size() : next + 1;
        at = next;
    }
    if (rows == std::string::npos || after == std::string::npos) {
        whole = true; // no row lines where they belong: read whole, so that the reader judges it
        return ReadWholeFile(path, kLargestJournal);
    }
    return head.substr(0, rows) + tail.substr(after);
}

// The run without its order and files, as a large journal is kept.
JournalRun Summary(const JournalRun& run) {
    JournalRun summary;
    summary.number = run.number;
    summary.kind = run.kind;
    summary.started = run.started;
    summary.folder = run.folder;
    summary.allUsersFolder = run.allUsersFolder;
    summary.step = run.step;
    summary.finished = run.finished;
    summary.undone = run.undone;
    summary.pending = run.pending;
    summary.whole = false;
    return summary;
}

} // namespace

Journal::Journal(std::string folder) : folder_(std::move(folder)) {}

std::string Journal::UserFolder() {
    std::string data = SpecialFolders().GetSpecialFolder(CSIDL_LOCAL_APPDATA);
    // The shell may name no folder (its own settings damaged) where the environment still does.
    if (const char* environment = std::getenv("LOCALAPPDATA"); data.empty() && environment)
        data = environment;
    if (data.empty())
        return {};
    return data + (data.back() == '\\' ? "" : "\\") + "Norvanta\\Clutterwise\\";
}

std::string Journal::RunPath(std::int64_t number, const char* suffix) const {
    char name[48];
    std::snprintf(name, sizeof name, "%s%06lld%s", kPrefix, static_cast<long long>(number), suffix);
    return folder_ + name;
}

// Renames the journal of run `number` to its ".damaged.txt" name; that name.
std::string Journal::SetAside(std::int64_t number) {
    const std::string aside = RunPath(number, kSetAsideSuffix);
    RenameDurably(RunPath(number, kRunSuffix), aside, true);
    return aside;
}

std::vector<std::string> Journal::Load() {
    std::vector<std::string> setAside = std::exchange(setAside_, {});
    if (folder_.empty())
        return setAside;
    std::map<std::int64_t, FileInfo> found;
    for (const auto& [name, entry] : ListJournals(folder_)) {
        if (name.rest == kRunSuffix)
            found[name.number] = entry.info;
        else if (EndsWith(entry.name, kTempSuffix) &&
                 entry.info.times.written + kStaleTemp < UtcNow())
            RemoveFileAt(folder_ + entry.name);
    }

    std::vector<Kept> runs;
    for (const auto& entry : found) {
        const std::int64_t number = entry.first; // a plain copy: lambdas cannot capture a binding
        const FileInfo& info = entry.second;
        const auto known = std::find_if(runs_.begin(), runs_.end(),
                                        [&](const Kept& k) { return k.run.number == number; });
        if (known != runs_.end() && known->size == info.size &&
            known->written == info.times.written) {
            runs.push_back(std::move(*known));
            continue;
        }
        bool whole = true;
        const std::optional<std::string> text =
            ReadSummaryText(RunPath(number, kRunSuffix), false, whole);
        if (!text)
            continue; // held by another writer just now: read it next time
        JournalReadResult read = ReadJournal(*text, !whole);
        if (read.run && read.run->number == number) {
            read.run->whole = whole;
            runs.push_back({std::move(*read.run), info.size, info.times.written});
            continue;
        }
        setAside.push_back(SetAside(number));
    }
    runs_ = std::move(runs);
    return setAside;
}

const JournalRun* Journal::LatestToUndo() const {
    for (auto kept = runs_.rbegin(); kept != runs_.rend(); ++kept)
        if (!kept->run.undone)
            return &kept->run;
    return nullptr;
}

const JournalRun* Journal::LastOrder(const std::string& desktopFolder) const {
    for (auto kept = runs_.rbegin(); kept != runs_.rend(); ++kept)
        if (!kept->run.undone && kept->run.pending.empty() &&
            lstrcmpiA(kept->run.folder.c_str(), desktopFolder.c_str()) == 0)
            return &kept->run;
    return nullptr;
}

JournalRun* Journal::ReadWhole(const JournalRun* run) {
    return ReadAgain(run, false);
}

const JournalRun* Journal::ReadOrder(const JournalRun* run) {
    return ReadAgain(run, true);
}

JournalRun* Journal::ReadAgain(const JournalRun* run, bool orderOnly) {
    const auto at = std::find_if(runs_.begin(), runs_.end(),
                                 [&](const Kept& kept) { return &kept.run == run; });
    if (at == runs_.end())
        return nullptr;
    if (at->run.whole || (orderOnly && !at->run.order.empty()))
        return &at->run;
    const TraceStep trace(orderOnly ? "read order" : "read run");
    const std::int64_t number = at->run.number;
    const std::string path = RunPath(number, kRunSuffix);
    bool whole = true;
    if (const auto text =
            orderOnly ? ReadSummaryText(path, true, whole) : ReadWholeFile(path, kLargestJournal)) {
        JournalReadResult read = ReadJournal(*text, !whole);
        if (read.run && read.run->number == number) {
            read.run->whole = whole;
            at->run = std::move(*read.run);
            return &at->run;
        }
        setAside_.push_back(SetAside(number));
    }
    runs_.erase(at);
    return nullptr;
}

bool Journal::Save(JournalRun& run) {
    // A summary written away would drop the run's rows from its journal for good.
    if (!run.whole)
        return false;
    error_ = "the journal's folder " + folder_ + " cannot be made";
    if (folder_.empty() || !MakeFolderChain(folder_))
        return false;
    const bool isNew = run.number == 0;
    if (isNew) {
        // The next number after every one in the folder, those set aside included; another
        // instance may be writing one just now, which the rename below finds out.
        std::int64_t last = runs_.empty() ? 0 : runs_.back().run.number;
        std::string lastName = RunPath(last, kRunSuffix);
        for (const auto& [name, entry] : ListJournals(folder_))
            if (name.number >= last) {
                last = name.number;
                lastName = folder_ + entry.name;
            }
        error_ = "the journal's run numbers are used up: " + lastName + " holds the last one";
        if (last >= kLastNumber)
            return false;
        run.number = last + 1;
    }

    const TraceStep trace("journal", std::to_string(run.files.size()));
    for (int attempt = 0; attempt < 100 && run.number <= kLastNumber; ++attempt) {
        std::optional<std::string> text;
        {
            const TraceStep format("format");
            text = WriteJournal(run);
        }
        error_ = "the run holds a name that is not UTF-8";
        if (!text)
            break;
        const std::string path = RunPath(run.number, kRunSuffix);
        std::uint32_t error = 0;
        {
            const TraceStep write("write", std::to_string(text->size()));
            error = ReplaceDurably(path, *text, !isNew);
        }
        error_ = path + " cannot be written: " + SystemErrorText(error);
        if (error == 0) {
            error_.clear();
            const FileInfo info = FileInfoOf(path).value_or(FileInfo{});
            const auto at = std::lower_bound(
                runs_.begin(), runs_.end(), run.number,
                [](const Kept& k, std::int64_t number) { return k.run.number < number; });
            // The caller holds the run whole; kept here is its summary, read whole on demand.
            if (at == runs_.end() || at->run.number != run.number) {
                runs_.insert(at, {Summary(run), info.size, info.times.written});
            } else {
                if (&at->run != &run)
                    at->run = Summary(run);
                at->size = info.size;
                at->written = info.times.written;
            }
            if (isNew)
                Prune();
            return true;
        }
        if (!isNew || error != ERROR_ALREADY_EXISTS)
            break;
        ++run.number; // another instance took this number meanwhile
    }
    if (isNew)
        run.number = 0;
    return false;
}

void Journal::Prune() const {
    std::vector<std::pair<std::int64_t, std::string>> files;
    for (const auto& [name, entry] : ListJournals(folder_))
        if (name.rest == kRunSuffix || name.rest == kSetAsideSuffix)
            files.emplace_back(name.number, folder_ + entry.name);
    std::vector<std::int64_t> numbers;
    for (const auto& file : files)
        numbers.push_back(file.first);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    if (numbers.size() <= static_cast<size_t>(kKeptRuns))
        return;
    const std::int64_t oldestKept = numbers[numbers.size() - kKeptRuns];
    for (const auto& [number, path] : files)
        if (number < oldestKept)
            RemoveFileAt(path);
}

bool Journal::AppendLog(const std::string& text) const {
    if (folder_.empty() || !MakeFolderChain(folder_))
        return false;
    const std::string path = LogPath();
    if (const auto log = FileInfoOf(path); log && log->size > kLargestLog)
        RenameDurably(path, path + ".old", true);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return AppendLine(path, stamp + text);
}

} // namespace cw
