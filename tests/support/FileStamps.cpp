#include "FileStamps.h"

#include <windows.h>

#include <stdexcept>

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

} // namespace

FileStamps StampsOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
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
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot stamp " + path);
    SetFileTime(file, &utc, &utc, &utc);
    CloseHandle(file);
}

} // namespace cwtest
