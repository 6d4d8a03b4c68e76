#include "app/Journal.h"

#include "fs/SpecialFolders.h"
#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

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

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const KernelHandle file(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) ||
        static_cast<std::uint64_t>(size.QuadPart) > kLargestJournal)
        return std::nullopt;
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < text.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), text.data() + done, static_cast<DWORD>(text.size() - done), &read,
                      nullptr) ||
            read == 0)
            return std::nullopt;
        done += read;
    }
    return text;
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

std::uint64_t UtcNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Join(now.dwHighDateTime, now.dwLowDateTime);
}

} // namespace

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
    std::vector<std::string> setAside;
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
        const std::optional<std::string> text = ReadWholeFile(path);
        if (!text)
            continue; // held by another writer just now: read it next time
        JournalReadResult read = ReadJournal(*text);
        if (read.run && read.run->number == number) {
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

JournalRun* Journal::LatestToUndo() {
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

bool Journal::MakeFolder() const {
    // Every level below the drive, so that a fresh profile gets "Norvanta" and "Clutterwise".
    for (size_t at = folder_.find('\\', 3); at != std::string::npos;
         at = folder_.find('\\', at + 1))
        CreateDirectoryA(folder_.substr(0, at).c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(folder_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Journal::Save(JournalRun& run) {
    if (folder_.empty() || !MakeFolder())
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
            if (at != runs_.end() && at->number == run.number) {
                if (&*at != &run)
                    *at = run;
                identities_[index] = identity;
            } else {
                runs_.insert(at, run);
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
