#include "fs/OpenedFile.h"

#include "fs/WidePath.h"
#include "win32/FileTime.h"

#include <windows.h>

#include <algorithm>

namespace cw {

OpenedFile::OpenedFile(const std::string& path, Access access, bool folder) {
    const DWORD rights = access == Access::Stamp ? GENERIC_WRITE : GENERIC_READ;
    const DWORD sharing = access == Access::Contents
                              ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                              : FILE_SHARE_READ;
    const DWORD flags = (folder ? FILE_FLAG_BACKUP_SEMANTICS : 0) |
                        (access == Access::Contents ? FILE_FLAG_SEQUENTIAL_SCAN : 0);
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    handle_.Reset(CreateFileW(WidePath(path).c_str(), rights, sharing, &security, OPEN_EXISTING,
                              flags, nullptr));
    if (!handle_)
        error_ = GetLastError();
}

std::optional<FileTimes> OpenedFile::Times() const {
    FILETIME created, accessed, written;
    if (!handle_ || !GetFileTime(handle_.Get(), &created, &accessed, &written))
        return std::nullopt;
    return FileTimes{TicksOf(created), TicksOf(accessed), TicksOf(written)};
}

bool OpenedFile::SetTimes(const FileTimes& times) const {
    const FILETIME created = FileTimeOf(times.created), accessed = FileTimeOf(times.accessed),
                   written = FileTimeOf(times.written);
    return handle_ && SetFileTime(handle_.Get(), &created, &accessed, &written);
}

std::optional<std::uint64_t> OpenedFile::Size() const {
    LARGE_INTEGER size{};
    if (!handle_ || !GetFileSizeEx(handle_.Get(), &size))
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool OpenedFile::Read(std::uint64_t offset, std::string& buffer) const {
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(offset);
    if (!handle_ || !SetFilePointerEx(handle_.Get(), from, nullptr, FILE_BEGIN))
        return false;
    for (size_t done = 0; done < buffer.size();) {
        DWORD read = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(buffer.size() - done, 1u << 24));
        if (!ReadFile(handle_.Get(), buffer.data() + done, chunk, &read, nullptr) || read == 0)
            return false;
        done += read;
    }
    return true;
}

} // namespace cw
