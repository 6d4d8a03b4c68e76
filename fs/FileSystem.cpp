#include "fs/FileSystem.h"

#include "fs/PlatformText.h"
#include "win32/Errors.h"
#include "win32/Handles.h"

#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace cw {
namespace {

constexpr int16_t kMaxCount = std::numeric_limits<int16_t>::max();

// The narrow entry points take no path of MAX_PATH characters or more, not even in the extended
// "\\?\" form (Wine refuses it too, whatever the manifest says). Such paths go to the wide entry
// points in that form, which the platform takes up to 32,767 characters long.
bool IsLongPath(const std::string& path) {
    return path.size() >= MAX_PATH;
}

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                        static_cast<int>(text.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(std::max(size, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

// The extended form is taken as it stands, so the path is made whole first (relative parts,
// forward slashes, dots); "\\server\share\..." becomes "\\?\UNC\server\share\...".
std::wstring ExtendedPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return wide;
    full.resize(length);
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC" + full.substr(1) : L"\\\\?\\" + full;
}

// Always FILE_SHARE_READ: a file that someone else holds open for writing is neither read nor
// stamped.
KernelHandle OpenFile(const std::string& path, DWORD access, DWORD flags) {
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    if (IsLongPath(path))
        return KernelHandle(CreateFileW(ExtendedPath(path).c_str(), access, FILE_SHARE_READ,
                                        &security, OPEN_EXISTING, flags, nullptr));
    return KernelHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ, &security, OPEN_EXISTING,
                                    flags, nullptr));
}

// Whether a long path names something with (`directory`) or without the directory bit.
bool LongPathIs(const std::string& path, bool directory) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == directory;
}

// Adds the entries of one folder (`folder` ends in a backslash) to the list.
void Collect(const std::string& folder, const std::string& pattern, DWORD exclude, bool folders,
             int16_t& count, std::vector<std::string>& list) {
    WIN32_FIND_DATAA data;
    const FindHandle search(FindFirstFileA((folder + pattern).c_str(), &data));
    if (!search)
        return;
    do {
        const DWORD attributes = data.dwFileAttributes;
        if (attributes & exclude)
            continue;
        const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // Every folder name that starts with a dot is left out, "." and ".." among them.
        if (folders ? !isFolder || data.cFileName[0] == '.' : isFolder)
            continue;
        if (count == kMaxCount)
            throw OverflowError();
        const size_t nameLength = strnlen(data.cFileName, MAX_PATH);
        std::string& entry = list.emplace_back();
        entry.reserve(folder.size() + nameLength);
        entry.append(folder).append(data.cFileName, nameLength);
        ++count;
    } while (FindNextFileA(search.Get(), &data));
}

// The recursive walks append: the list is made to hold exactly the `count` entries passed in.
void AlignToCount(int16_t& count, std::vector<std::string>& list) {
    count = std::max<int16_t>(count, 0);
    list.resize(static_cast<size_t>(count));
}

void Append(std::vector<std::string>& from, int16_t& count, std::vector<std::string>& list) {
    for (std::string& entry : from) {
        if (count == kMaxCount)
            return;
        list.push_back(std::move(entry));
        ++count;
    }
}

std::string ReadStamp(const std::string& path, DWORD flags) {
    FILETIME written;
    {
        const KernelHandle file = OpenFile(path, GENERIC_READ, flags);
        if (!file || !GetFileTime(file.Get(), nullptr, nullptr, &written))
            return {};
    }
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &fields))
        return {};
    return FormatDateTime(ToCalendarTime(fields));
}

// A value outside what a file time can hold gives false: a failed conversion would otherwise
// leave an undefined time to be written.
bool ToFileTime(DateTime value, FILETIME& utc) {
    static const DateTime lowest = MakeDateTime({1601, 1, 1, 0, 0, 0}) - 1;
    static const DateTime highest = MakeDateTime({10000, 1, 1, 0, 0, 0});
    if (!std::isfinite(value) || value <= lowest || value >= highest)
        return false;
    const SYSTEMTIME fields = ToSystemTime(SplitDateTime(value));
    FILETIME local;
    return SystemTimeToFileTime(&fields, &local) && LocalFileTimeToFileTime(&local, &utc);
}

bool WriteStamp(const std::string& path, DateTime value, DWORD flags) {
    FILETIME stamp;
    if (!ToFileTime(value, stamp))
        return false;
    const KernelHandle file = OpenFile(path, GENERIC_WRITE, flags);
    return file && SetFileTime(file.Get(), &stamp, &stamp, &stamp);
}

DateTime ReadDateTime(const std::string& text) {
    const std::optional<DateTime> value = ParseDateTime(text);
    if (!value)
        throw TypeMismatchError();
    return *value;
}

// Runs a shell path rule that rewrites its buffer in place. The buffer is never smaller than
// MAX_PATH, which these functions may assume, and has `room` for what the rule adds.
template <typename Rule> std::string Rewrite(const std::string& text, size_t room, Rule rule) {
    std::string buffer(std::max<size_t>(text.size() + room + 1, MAX_PATH), '\0');
    text.copy(buffer.data(), text.size());
    rule(buffer.data());
    detail::TrimAtNul(buffer);
    return buffer;
}

std::string Search(const std::string& folder, const std::string& name) {
    return detail::ReadPlatformText([&](char* buffer, DWORD size) {
        return SearchPathA(folder.c_str(), name.c_str(), "", size, buffer, nullptr);
    });
}

bool Exists(const std::string& path) {
    return PathFileExistsA(path.c_str()) == TRUE;
}

} // namespace

void FileSystem::EnumerateFiles(std::string startfolder, int32_t excludeattr, int16_t& numberfiles,
                                std::vector<std::string>& files, std::string pattern) const {
    numberfiles = 0;
    files.clear();
    Collect(AddFolderBackslash(std::move(startfolder)), pattern, static_cast<DWORD>(excludeattr),
            false, numberfiles, files);
}

void FileSystem::EnumerateFolders(std::string startfolder, int32_t excludeattr,
                                  int16_t& numberfolders, std::vector<std::string>& folders) const {
    numberfolders = 0;
    folders.clear();
    Collect(AddFolderBackslash(std::move(startfolder)), "*", static_cast<DWORD>(excludeattr), true,
            numberfolders, folders);
}

// Sub-folders (each with everything below it) come before the folder's own files. A list that
// is full stops the walk, as nothing more could be counted.
void FileSystem::EnumerateRecursiveFiles(std::string startfolder, int32_t excludeattr,
                                         int16_t& numberfiles, std::vector<std::string>& files,
                                         std::string pattern) const {
    AlignToCount(numberfiles, files);
    std::vector<std::string> found;
    int16_t count = 0;
    try {
        EnumerateFolders(startfolder, excludeattr, count, found);
    } catch (const OverflowError&) {
    }
    for (const std::string& folder : found) {
        if (numberfiles == kMaxCount)
            return;
        EnumerateRecursiveFiles(folder, excludeattr, numberfiles, files, pattern);
    }
    if (numberfiles == kMaxCount)
        return;
    try {
        EnumerateFiles(std::move(startfolder), excludeattr, count, found, std::move(pattern));
    } catch (const OverflowError&) {
    }
    Append(found, numberfiles, files);
}

void FileSystem::EnumerateRecursiveFolders(std::string startfolder, int32_t excludeattr,
                                           int16_t& numberfolders,
                                           std::vector<std::string>& folders) const {
    AlignToCount(numberfolders, folders);
    std::vector<std::string> found;
    int16_t count = 0;
    try {
        EnumerateFolders(std::move(startfolder), excludeattr, count, found);
    } catch (const OverflowError&) {
    }
    for (std::string& folder : found) {
        if (numberfolders == kMaxCount)
            return;
        folders.push_back(folder);
        ++numberfolders;
        EnumerateRecursiveFolders(std::move(folder), excludeattr, numberfolders, folders);
    }
}

// The wide search: its record holds names of 260 characters, where the narrow one holds 260 bytes
// (fewer characters beyond ASCII), and its search path may be of any length.
std::vector<FileEntry> FileSystem::ListFiles(std::string folder, std::string pattern) const {
    std::vector<FileEntry> files;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    const std::string search = folder + pattern;
    WIN32_FIND_DATAW data;
    const FindHandle found(
        FindFirstFileW((IsLongPath(search) ? ExtendedPath(search) : Widen(search)).c_str(), &data));
    if (!found)
        return files;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const FILETIME& t = data.ftLastWriteTime;
        files.push_back(
            {Narrow(data.cFileName), std::uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime});
    } while (FindNextFileW(found.Get(), &data));
    return files;
}

int32_t FileSystem::GetFileAttributes(std::string file) const {
    return static_cast<int32_t>(GetFileAttributesA(file.c_str()));
}

int32_t FileSystem::GetFolderAttributes(std::string folder) const {
    return GetFileAttributes(std::move(folder));
}

void FileSystem::SetFileAttributes(std::string file, int32_t attr) const {
    SetFileAttributesA(file.c_str(), static_cast<DWORD>(attr));
}

void FileSystem::SetFolderAttributes(std::string folder, int32_t attr) const {
    SetFileAttributes(std::move(folder), attr);
}

std::string FileSystem::GetFileDateTime(std::string file) const {
    return ReadStamp(file, 0);
}

std::string FileSystem::GetFolderDateTime(std::string folder) const {
    return ReadStamp(folder, FILE_FLAG_BACKUP_SEMANTICS);
}

bool FileSystem::SetFileDateTime(std::string file, DateTime datetime) const {
    return WriteStamp(file, datetime, 0);
}

bool FileSystem::SetFileDateTime(std::string file, std::string datetime) const {
    return WriteStamp(file, ReadDateTime(datetime), 0);
}

bool FileSystem::SetFolderDateTime(std::string folder, DateTime datetime) const {
    return WriteStamp(folder, datetime, FILE_FLAG_BACKUP_SEMANTICS);
}

bool FileSystem::SetFolderDateTime(std::string folder, std::string datetime) const {
    return WriteStamp(folder, ReadDateTime(datetime), FILE_FLAG_BACKUP_SEMANTICS);
}

bool FileSystem::IsFile(std::string file) const {
    if (IsLongPath(file))
        return LongPathIs(file, false);
    return Exists(file) && PathIsDirectoryA(file.c_str()) == 0;
}

bool FileSystem::IsFolder(std::string folder) const {
    if (IsLongPath(folder))
        return LongPathIs(folder, true);
    return Exists(folder) && PathIsDirectoryA(folder.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

// Sizes from 2 GiB up do not fit the result; cutting off the high part would give a size that
// is plainly wrong, so they give -1 like any size that cannot be read.
int32_t FileSystem::GetFileSize(std::string file) const {
    const KernelHandle handle = OpenFile(file, GENERIC_READ, 0);
    if (!handle)
        return -1;
    DWORD high = 0;
    const DWORD low = ::GetFileSize(handle.Get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return -1;
    if (high != 0 || low > static_cast<DWORD>(std::numeric_limits<int32_t>::max()))
        return -1;
    return static_cast<int32_t>(low);
}

std::string FileSystem::AddFolderBackslash(std::string folder) const {
    return Rewrite(folder, 1, [](char* path) { PathAddBackslashA(path); });
}

std::string FileSystem::ExtractFileTitle(std::string file) const {
    return Rewrite(file, 0, PathStripPathA);
}

std::string FileSystem::AddFileExtension(std::string file, std::string ext) const {
    return Rewrite(file, ext.size(), [&](char* path) { PathAddExtensionA(path, ext.c_str()); });
}

std::string FileSystem::AddFileQuotes(std::string file) const {
    return Rewrite(file, 2, [](char* path) { PathQuoteSpacesA(path); });
}

std::string FileSystem::AddFolderQuotes(std::string folder) const {
    return AddFileQuotes(std::move(folder));
}

bool FileSystem::ChangeFolder(std::string folder) const {
    return SetCurrentDirectoryA(folder.c_str()) != 0;
}

bool FileSystem::CopyFile(std::string sourcefile, std::string destinationfile) const {
    return CopyFileA(sourcefile.c_str(), destinationfile.c_str(), FALSE) != 0;
}

bool FileSystem::CreateFolder(std::string folder) const {
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    return CreateDirectoryA(folder.c_str(), &security) != 0;
}

// Names of undefined variables stay as written.
std::string FileSystem::ExpandFolder(std::string folder) const {
    // The narrow form may write one character more than the count it is given.
    std::string buffer(MAX_PATH + 1, '\0');
    DWORD length = ExpandEnvironmentStringsA(folder.c_str(), buffer.data(), MAX_PATH);
    if (length > MAX_PATH) {
        buffer.assign(length + 1, '\0');
        length = ExpandEnvironmentStringsA(folder.c_str(), buffer.data(), length);
    }
    if (length < 2)
        return {};
    detail::TrimAtNul(buffer);
    return buffer;
}

std::string FileSystem::ExtractDrive(std::string file) const {
    return Rewrite(file, 0, [](char* path) { PathStripToRootA(path); });
}

std::string FileSystem::ExtractFileExtension(std::string file) const {
    return PathFindExtensionA(file.c_str());
}

std::string FileSystem::ExtractFolder(std::string folder) const {
    return Rewrite(folder, 0, [](char* path) { PathRemoveFileSpecA(path); });
}

std::string FileSystem::ExtractFolderTitle(std::string folder) const {
    return ExtractFileTitle(std::move(folder));
}

std::string FileSystem::GetCurrentFolder() const {
    return detail::ReadPlatformText(
        [](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

bool FileSystem::IsFileExtension(std::string file, std::string ext) const {
    return PathMatchSpecA(file.c_str(), ("*." + ext).c_str()) != 0;
}

// Clearing the attributes clears hidden, system and archive too; they are not put back when
// the delete fails.
bool FileSystem::RemoveFile(std::string file, bool IgnoreReadonly) const {
    if (IgnoreReadonly)
        SetFileAttributesA(file.c_str(), 0);
    return DeleteFileA(file.c_str()) != 0;
}

std::string FileSystem::RemoveFileExtension(std::string file) const {
    return Rewrite(file, 0, PathRemoveExtensionA);
}

std::string FileSystem::RemoveFileQuotes(std::string file) const {
    return Rewrite(file, 0, [](char* path) { PathUnquoteSpacesA(path); });
}

bool FileSystem::RemoveFolder(std::string folder, bool IgnoreReadonly) const {
    if (IgnoreReadonly)
        SetFileAttributesA(folder.c_str(), 0);
    return RemoveDirectoryA(folder.c_str()) != 0;
}

std::string FileSystem::RemoveFolderBackslash(std::string folder) const {
    return Rewrite(folder, 0, [](char* path) { PathRemoveBackslashA(path); });
}

std::string FileSystem::RemoveFolderQuotes(std::string folder) const {
    return RemoveFileQuotes(std::move(folder));
}

bool FileSystem::RenameFile(std::string oldfile, std::string newfile) const {
    return MoveFileA(oldfile.c_str(), newfile.c_str()) != 0;
}

bool FileSystem::RenameFolder(std::string oldfolder, std::string newfolder) const {
    return RenameFile(std::move(oldfolder), std::move(newfolder));
}

std::string FileSystem::SearchFile(std::string startfolder, std::string file) const {
    return Search(startfolder, file);
}

std::string FileSystem::SearchFolder(std::string startfolder, std::string folder) const {
    return Search(startfolder, folder);
}

} // namespace cw
