#include "app/Journal.h"

#include "fs/SpecialFolders.h"
#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
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
constexpr int kLocalAppData = 0x1C; // CSIDL_LOCAL_APPDATA
// A journal holds at most two files per row of a list (32,767 rows): far below this.
constexpr std::uint64_t kLargestJournal = 256ull << 20;
constexpr std::uint64_t kLargestLog = 1ull << 20;
// A journal larger than this is read for its summary: its lines before the first "order" or
// "file" line and after the last, each found within this many bytes of its end of the file.
constexpr std::uint64_t kSummaryReach = 64u << 10;
// A temporary file this old was left by a writer that did not finish.
constexpr std::uint64_t kStaleTemp = 10ull * 60 * 10'000'000;

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// The run number in a journal file's name, and what follows it.
struct JournalName {
    std::int64_t number = 0;
    std::string rest;
};

std::optional<JournalName> SplitName(const std::string& name) {
    const size_t prefix = std::char_traits<char>::length(kPrefix);
    if (name.compare(0, prefix, kPrefix) != 0)
        return std::nullopt;
    size_t end = prefix;
    while (end < name.size() && end - prefix < 12 && name[end] >= '0' && name[end] <= '9')
        ++end;
    if (end == prefix)
        return std::nullopt;
    return JournalName{std::stoll(name.substr(prefix, end - prefix)), name.substr(end)};
}

bool ReadAll(HANDLE file, std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD read = 0;
        if (!ReadFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &read,
                      nullptr) ||
            read == 0)
            return false;
        done += read;
    }
    return true;
}

KernelHandle OpenToRead(const std::string& path, std::uint64_t& size) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER length{};
    if (!file || !GetFileSizeEx(file.Get(), &length) ||
        static_cast<std::uint64_t>(length.QuadPart) > kLargestJournal)
        return {};
    size = static_cast<std::uint64_t>(length.QuadPart);
    return file;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::uint64_t size = 0;
    const KernelHandle file = OpenToRead(path, size);
    std::string text(static_cast<size_t>(size), '\0');
    if (!file || !ReadAll(file.Get(), text))
        return std::nullopt;
    return text;
}

// Whether a line holds one of a run's rows: an "order" or a "file" line.
bool IsRowLine(std::string_view line) {
    const std::string_view key = line.substr(0, line.find_first_of(" \n"));
    return key == "order" || key == "file";
}

// A journal's text, or for a large one its text without its "order" and "file" lines: what its
// summary is read from. The rows are left unchecked until the run is read whole.
std::optional<std::string> ReadSummaryText(const std::string& path, bool& whole) {
    std::uint64_t size = 0;
    const KernelHandle file = OpenToRead(path, size);
    whole = size <= 2 * kSummaryReach;
    std::string head(static_cast<size_t>(whole ? size : kSummaryReach), '\0');
    if (!file || !ReadAll(file.Get(), head))
        return std::nullopt;
    if (whole)
        return head;
    std::string tail(kSummaryReach, '\0');
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(size - kSummaryReach);
    if (!SetFilePointerEx(file.Get(), from, nullptr, FILE_BEGIN) || !ReadAll(file.Get(), tail))
        return std::nullopt;
    size_t rows = std::string::npos; // where the first row line begins
    for (size_t at = 0; at < head.size() && rows == std::string::npos;) {
        const size_t next = head.find('\n', at);
        if (next == std::string::npos)
            break;
        if (IsRowLine(std::string_view(head).substr(at, next - at)))
            rows = at;
        at = next + 1;
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
        return ReadWholeFile(path);
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
    summary.step = run.step;
    summary.finished = run.finished;
    summary.undone = run.undone;
    summary.whole = false;
    return summary;
}

bool WriteAll(HANDLE file, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 24));
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

FileTimeValue UtcNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Join(now.dwHighDateTime, now.dwLowDateTime);
}

Journal::Journal(std::string folder) : folder_(std::move(folder)) {}

std::string Journal::UserFolder() {
    const std::string data = SpecialFolders().GetSpecialFolder(kLocalAppData);
    if (data.empty())
        return {};
    return data + (data.back() == '\\' ? "" : "\\") + "Norvanta\\Clutterwise\\";
}

std::string Journal::RunPath(std::int64_t number, const char* suffix) const {
    char name[48];
    std::snprintf(name, sizeof name, "%s%06lld%s", kPrefix, static_cast<long long>(number), suffix);
    return folder_ + name;
}

std::vector<std::string> Journal::Load() {
    std::vector<std::string> setAside = std::exchange(setAside_, {});
    if (folder_.empty())
        return setAside;
    std::map<std::int64_t, std::pair<std::string, Identity>> found;
    WIN32_FIND_DATAA data;
    {
        const FindHandle search(FindFirstFileA((folder_ + kPrefix + "*").c_str(), &data));
        if (search)
            do {
                const std::string name = data.cFileName;
                const auto split = SplitName(name);
                if (!split || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    continue;
                const Identity identity{
                    Join(data.nFileSizeHigh, data.nFileSizeLow),
                    Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
                if (split->rest == kRunSuffix)
                    found[split->number] = {folder_ + name, identity};
                else if (EndsWith(name, kTempSuffix) && identity.written + kStaleTemp < UtcNow())
                    DeleteFileA((folder_ + name).c_str());
            } while (FindNextFileA(search.Get(), &data));
    }

    std::vector<JournalRun> runs;
    std::vector<Identity> identities;
    for (auto& entry : found) {
        const auto number = entry.first; // a plain copy: C++20 lambdas cannot capture a binding
        auto& [path, identity] = entry.second;
        const auto known = std::find_if(runs_.begin(), runs_.end(),
                                        [&](const JournalRun& r) { return r.number == number; });
        if (known != runs_.end() && identities_[known - runs_.begin()] == identity) {
            runs.push_back(std::move(*known));
            identities.push_back(identity);
            continue;
        }
        bool whole = true;
        const std::optional<std::string> text = ReadSummaryText(path, whole);
        if (!text)
            continue; // held by another writer just now: read it next time
        JournalReadResult read = ReadJournal(*text);
        if (read.run && read.run->number == number) {
            read.run->whole = whole;
            runs.push_back(std::move(*read.run));
            identities.push_back(identity);
            continue;
        }
        const std::string aside = RunPath(number, kSetAsideSuffix);
        MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
        setAside.push_back(aside);
    }
    runs_ = std::move(runs);
    identities_ = std::move(identities);
    return setAside;
}

const JournalRun* Journal::LatestToUndo() const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run)
        if (!run->undone)
            return &*run;
    return nullptr;
}

const JournalRun* Journal::LastOrder(const std::string& desktopFolder) const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run)
        if (!run->undone && lstrcmpiA(run->folder.c_str(), desktopFolder.c_str()) == 0)
            return &*run;
    return nullptr;
}

JournalRun* Journal::ReadWhole(const JournalRun* run) {
    const auto at = std::find_if(runs_.begin(), runs_.end(),
                                 [&](const JournalRun& kept) { return &kept == run; });
    if (at == runs_.end())
        return nullptr;
    if (at->whole)
        return &*at;
    const std::string path = RunPath(at->number, kRunSuffix);
    if (const std::optional<std::string> text = ReadWholeFile(path)) {
        JournalReadResult read = ReadJournal(*text);
        if (read.run && read.run->number == at->number) {
            *at = std::move(*read.run);
            return &*at;
        }
        const std::string aside = RunPath(at->number, kSetAsideSuffix);
        MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
        setAside_.push_back(aside);
    }
    Drop(*at);
    return nullptr;
}

void Journal::Drop(const JournalRun& run) {
    const auto index = &run - runs_.data();
    runs_.erase(runs_.begin() + index);
    identities_.erase(identities_.begin() + index);
}

bool Journal::MakeFolder() const {
    // Every level below the drive, so that a fresh profile gets "Norvanta" and "Clutterwise".
    for (size_t at = folder_.find('\\', 3); at != std::string::npos;
         at = folder_.find('\\', at + 1))
        CreateDirectoryA(folder_.substr(0, at).c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(folder_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Journal::Save(JournalRun& run) {
    // A summary written away would drop the run's rows from its journal for good.
    if (!run.whole || folder_.empty() || !MakeFolder())
        return false;
    const bool isNew = run.number == 0;
    if (isNew) {
        // The next number after every one in the folder, those set aside included; another
        // instance may be writing one just now, which the rename below finds out.
        std::int64_t last = runs_.empty() ? 0 : runs_.back().number;
        WIN32_FIND_DATAA data;
        const FindHandle search(FindFirstFileA((folder_ + kPrefix + "*").c_str(), &data));
        if (search)
            do
                if (const auto split = SplitName(data.cFileName))
                    last = std::max(last, split->number);
            while (FindNextFileA(search.Get(), &data));
        run.number = last + 1;
    }

    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::optional<std::string> text = WriteJournal(run);
        if (!text) {
            if (isNew)
                run.number = 0;
            return false;
        }
        const std::string temp = RunPath(
            run.number, ("." + std::to_string(GetCurrentProcessId()) + kTempSuffix).c_str());
        const std::string path = RunPath(run.number, kRunSuffix);
        bool written = false;
        {
            const KernelHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            written = file && WriteAll(file.Get(), *text) && FlushFileBuffers(file.Get());
        }
        const DWORD replace = isNew ? 0 : MOVEFILE_REPLACE_EXISTING;
        if (written && MoveFileExA(temp.c_str(), path.c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
            const Identity identity{
                Join(data.nFileSizeHigh, data.nFileSizeLow),
                Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
            const auto at = std::lower_bound(
                runs_.begin(), runs_.end(), run.number,
                [](const JournalRun& r, std::int64_t number) { return r.number < number; });
            const auto index = at - runs_.begin();
            // The caller holds the run whole; kept here is its summary, read whole on demand.
            if (at != runs_.end() && at->number == run.number) {
                if (&*at != &run)
                    *at = Summary(run);
                identities_[index] = identity;
            } else {
                runs_.insert(at, Summary(run));
                identities_.insert(identities_.begin() + index, identity);
            }
            if (isNew)
                Prune();
            return true;
        }
        const DWORD error = GetLastError();
        DeleteFileA(temp.c_str());
        if (!written || !isNew || error != ERROR_ALREADY_EXISTS)
            break;
        ++run.number; // another instance took this number meanwhile
    }
    if (isNew)
        run.number = 0;
    return false;
}

void Journal::Prune() const {
    std::vector<std::pair<std::int64_t, std::string>> files;
    WIN32_FIND_DATAA data;
    {
        const FindHandle search(FindFirstFileA((folder_ + kPrefix + "*").c_str(), &data));
        if (search)
            do
                if (const auto split = SplitName(data.cFileName);
                    split && (split->rest == kRunSuffix || split->rest == kSetAsideSuffix))
                    files.emplace_back(split->number, folder_ + data.cFileName);
            while (FindNextFileA(search.Get(), &data));
    }
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
            DeleteFileA(path.c_str());
}

bool Journal::AppendLog(const std::string& text) const {
    if (folder_.empty() || !MakeFolder())
        return false;
    const std::string path = LogPath();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        Join(data.nFileSizeHigh, data.nFileSizeLow) > kLargestLog)
        MoveFileExA(path.c_str(), (path + ".old").c_str(), MOVEFILE_REPLACE_EXISTING);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const KernelHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), stamp + text + "\r\n");
}

} // namespace cw
