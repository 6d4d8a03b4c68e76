#include "FileStamps.h"

#include "fs/WidePath.h"

#include <windows.h>

#include <stdexcept>
#include <string_view>

namespace cwtest {
namespace {

constexpr long long kTicksPerSecond = 10000000;

long long LocalSeconds(const FILETIME& utc) {
    FILETIME local;
    FileTimeToLocalFileTime(&utc, &local);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = local.dwLowDateTime;
    ticks.HighPart = local.dwHighDateTime;
    return static_cast<long long>(ticks.QuadPart) / kTicksPerSecond;
}

unsigned long long Ticks(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

} // namespace

FileStamps StampsOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(cw::WidePath(path).c_str(), GetFileExInfoStandard, &data))
        return {};
    return {LocalSeconds(data.ftCreationTime), LocalSeconds(data.ftLastAccessTime),
            LocalSeconds(data.ftLastWriteTime)};
}

long long LocalSecondsNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return LocalSeconds(now);
}

void SetLocalStamp(const std::string& path, long long localSeconds, int milliseconds) {
    ULARGE_INTEGER ticks{};
    ticks.QuadPart =
        static_cast<ULONGLONG>(localSeconds * kTicksPerSecond + milliseconds * 10000LL);
    const FILETIME local{ticks.LowPart, ticks.HighPart};
    FILETIME utc;
    LocalFileTimeToFileTime(&local, &utc);
    const HANDLE file =
        CreateFileW(cw::WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot stamp " + path);
    SetFileTime(file, &utc, &utc, &utc);
    CloseHandle(file);
}

ExactTimes ExactTimesOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(cw::WidePath(path).c_str(), GetFileExInfoStandard, &data))
        return {};
    return {Ticks(data.ftCreationTime), Ticks(data.ftLastAccessTime), Ticks(data.ftLastWriteTime)};
}

void SetExactTimes(const std::string& path, const ExactTimes& times) {
    const auto filetime = [](unsigned long long t) {
        return FILETIME{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    };
    const FILETIME created = filetime(times.created), accessed = filetime(times.accessed),
                   written = filetime(times.written);
    const HANDLE file = CreateFileW(cw::WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    const bool set =
        file != INVALID_HANDLE_VALUE && SetFileTime(file, &created, &accessed, &written);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!set)
        throw std::runtime_error("cannot stamp " + path);
}

std::map<std::string, ExactTimes> FolderTimes(const std::string& folder) {
    std::map<std::string, ExactTimes> entries;
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &data)) {
        if (std::string_view(data.cFileName) != "..") // the parent is shared with other tests
            entries[data.cFileName] = {Ticks(data.ftCreationTime), Ticks(data.ftLastAccessTime),
                                       Ticks(data.ftLastWriteTime)};
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return entries;
}

} // namespace cwtest
