#include "fs/FileSystem.h"

#include "fs/FileActions.h"
#include "fs/FolderListing.h"
#include "fs/OpenedFile.h"
#include "fs/PlatformText.h"
#include "win32/Errors.h"
#include "win32/FileTime.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace cw {
namespace {

constexpr int16_t kMaxCount = std::numeric_limits<int16_t>::max();

// Adds the entries of one folder (`folder` ends in a backslash) to the list.
void Collect(const std::string& folder, const std::string& pattern, DWORD exclude, bool folders,
             int16_t& count, std::vector<std::string>& list) {
    for (const FolderEntry& found : ListFolder(folder, pattern)) {
        if (found.info.attributes & exclude)
            continue;
        // Every folder name that starts with a dot is left out, "." and ".." among them.
        if (folders ? !found.info.IsFolder() || found.name[0] == '.' : found.info.IsFolder())
            continue;
        if (count == kMaxCount)
            throw OverflowError();
        list.push_back(folder + found.name);
        ++count;
    }
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

std::string ReadStamp(const std::string& path, bool folder) {
    const std::optional<FileTimes> times =
        OpenedFile(path, OpenedFile::Access::Read, folder).Times();
    const std::optional<CalendarTime> local =
        times ? LocalCalendarTime(times->written) : std::nullopt;
    return local ? FormatDateTime(*local) : std::string();
}

bool WriteStamp(const std::string& path, DateTime value, bool folder) {
    const std::optional<FileTimeValue> stamp = FileTimeOfLocal(value);
    return stamp &&
           OpenedFile(path, OpenedFile::Access::Stamp, folder).SetTimes({*stamp, *stamp, *stamp});
}

// Whether the path names something with (`folder`) or without the directory bit.
bool Is(const std::string& path, bool folder) {
    const std::optional<FileInfo> info = FileInfoOf(path);
    return info && info->IsFolder() == folder;
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

std::vector<FileEntry> FileSystem::ListFiles(std::string folder, std::string pattern) const {
    std::vector<FileEntry> files;
    for (FolderEntry& found : ListFolder(folder, pattern))
        if (!found.info.IsFolder())
            files.push_back({std::move(found.name), found.info.times.written});
    return files;
}

int32_t FileSystem::GetFileAttributes(std::string file) const {
    return static_cast<int32_t>(AttributesOf(file));
}

int32_t FileSystem::GetFolderAttributes(std::string folder) const {
    return GetFileAttributes(std::move(folder));
}

void FileSystem::SetFileAttributes(std::string file, int32_t attr) const {
    SetAttributes(file, static_cast<std::uint32_t>(attr));
}

void FileSystem::SetFolderAttributes(std::string folder, int32_t attr) const {
    SetFileAttributes(std::move(folder), attr);
}

std::string FileSystem::GetFileDateTime(std::string file) const {
    return ReadStamp(file, false);
}

std::string FileSystem::GetFolderDateTime(std::string folder) const {
    return ReadStamp(folder, true);
}

bool FileSystem::SetFileDateTime(std::string file, DateTime datetime) const {
    return WriteStamp(file, datetime, false);
}

bool FileSystem::SetFileDateTime(std::string file, std::string datetime) const {
    return WriteStamp(file, ReadDateTime(datetime), false);
}

bool FileSystem::SetFolderDateTime(std::string folder, DateTime datetime) const {
    return WriteStamp(folder, datetime, true);
}

bool FileSystem::SetFolderDateTime(std::string folder, std::string datetime) const {
    return WriteStamp(folder, ReadDateTime(datetime), true);
}

bool FileSystem::IsFile(std::string file) const {
    return Is(file, false);
}

bool FileSystem::IsFolder(std::string folder) const {
    return Is(folder, true);
}

// Sizes from 2 GiB up do not fit the result; cutting off the high part would give a size that
// is plainly wrong, so they give -1 like any size that cannot be read.
int32_t FileSystem::GetFileSize(std::string file) const {
    const std::optional<std::uint64_t> size = OpenedFile(file, OpenedFile::Access::Read).Size();
    if (!size || *size > static_cast<std::uint64_t>(std::numeric_limits<int32_t>::max()))
        return -1;
    return static_cast<int32_t>(*size);
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
    return CopyFileTo(sourcefile, destinationfile);
}

bool FileSystem::CreateFolder(std::string folder) const {
    return MakeFolder(folder);
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
        SetAttributes(file, 0);
    return RemoveFileAt(file);
}

std::string FileSystem::RemoveFileExtension(std::string file) const {
    return Rewrite(file, 0, PathRemoveExtensionA);
}

std::string FileSystem::RemoveFileQuotes(std::string file) const {
    return Rewrite(file, 0, [](char* path) { PathUnquoteSpacesA(path); });
}

bool FileSystem::RemoveFolder(std::string folder, bool IgnoreReadonly) const {
    if (IgnoreReadonly)
        SetAttributes(folder, 0);
    return RemoveFolderAt(folder);
}

std::string FileSystem::RemoveFolderBackslash(std::string folder) const {
    return Rewrite(folder, 0, [](char* path) { PathRemoveBackslashA(path); });
}

std::string FileSystem::RemoveFolderQuotes(std::string folder) const {
    return RemoveFileQuotes(std::move(folder));
}

bool FileSystem::RenameFile(std::string oldfile, std::string newfile) const {
    return RenameTo(oldfile, newfile);
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
