#include "fs/FileActions.h"

#include "fs/OpenedFile.h"
#include "fs/WidePath.h"
#include "win32/FileTime.h"
#include "win32/Handles.h"

#include <windows.h>

namespace cw {

std::optional<FileInfo> FileInfoOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileInfo{data.dwFileAttributes,
                    (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                    {TicksOf(data.ftCreationTime), TicksOf(data.ftLastAccessTime),
                     TicksOf(data.ftLastWriteTime)}};
}

std::uint32_t AttributesOf(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

bool SetAttributes(const std::string& path, std::uint32_t attributes) {
    return SetFileAttributesW(WidePath(path).c_str(), attributes) != 0;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t limit) {
    const OpenedFile file(path, OpenedFile::Access::Contents);
    const std::optional<std::uint64_t> size = file.Size();
    if (!size || *size > limit)
        return std::nullopt;
    std::string text(static_cast<size_t>(*size), '\0');
    if (!file.Read(0, text))
        return std::nullopt;
    return text;
}

bool AppendLine(const std::string& path, std::string_view line) {
    const KernelHandle file(CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    // One write, so that lines appended by two processes at once never interleave.
    const std::string text = std::string(line) + "\r\n";
    DWORD written = 0;
    return file &&
           WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool MakeFolder(const std::string& folder) {
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    return CreateDirectoryW(WidePath(folder).c_str(), &security) != 0;
}

bool MakeFolderChain(const std::string& folder) {
    // Every level below the root ("C:\", "\\server\share\"), so that a fresh profile gets them all.
    size_t from = 3;
    if (folder.rfind("\\\\", 0) == 0) {
        const size_t share = folder.find('\\', 2);
        from = share == std::string::npos ? folder.size() : share + 1;
    }
    for (size_t at = folder.find('\\', from); at != std::string::npos;
         at = folder.find('\\', at + 1))
        MakeFolder(folder.substr(0, at));
    MakeFolder(folder);
    const std::optional<FileInfo> made = FileInfoOf(folder);
    return made && made->IsFolder();
}

bool RemoveFolderAt(const std::string& folder) {
    return RemoveDirectoryW(WidePath(folder).c_str()) != 0;
}

bool RemoveFileAt(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) != 0;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), FALSE) != 0;
}

bool RenameTo(const std::string& from, const std::string& to) {
    return MoveFileW(WidePath(from).c_str(), WidePath(to).c_str()) != 0;
}

std::uint32_t RenameDurably(const std::string& from, const std::string& to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), flags))
        return 0;
    return GetLastError();
}

} // namespace cw
