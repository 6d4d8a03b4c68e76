#pragma once
// File and folder functions on paths given as text: enumeration, attributes, sizes, time stamps,
// path text rules and single file-system actions. Stateless; members never throw for a bad path
// and report through their results (false, "", -1, a count of 0). Every member that touches the
// file system stands on this library's listing and actions, so it takes paths of MAX_PATH
// characters and more as well; the path text rules work on text of any length.
#include "win32/Calendar.h"
#include "win32/DateTime.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// <windows.h> maps these member names onto the ...A entry points; this class calls those by
// their narrow names, so the plain names stay free for its own members in every translation unit.
#undef CopyFile
#undef GetFileAttributes
#undef SetFileAttributes

namespace cw {

// One file as a folder's listing reports it.
struct FileEntry {
    std::string name; // the file's own name, never its short 8.3 form
    FileTimeValue lastWrite = 0;
};

class FileSystem {
public:
    // Result lists: entries 0 to count - 1, in the order the platform's search delivers them.
    // EnumerateFiles/EnumerateFolders start both afresh and throw OverflowError when a
    // 32,768th entry would be added; the recursive walks append to what the caller passes in
    // and stop counting at 32,767.
    void EnumerateFiles(std::string startfolder, int32_t excludeattr, int16_t& numberfiles,
                        std::vector<std::string>& files, std::string pattern = "*") const;
    void EnumerateFolders(std::string startfolder, int32_t excludeattr, int16_t& numberfolders,
                          std::vector<std::string>& folders) const;
    void EnumerateRecursiveFiles(std::string startfolder, int32_t excludeattr, int16_t& numberfiles,
                                 std::vector<std::string>& files, std::string pattern = "*") const;
    void EnumerateRecursiveFolders(std::string startfolder, int32_t excludeattr,
                                   int16_t& numberfolders, std::vector<std::string>& folders) const;
    // The files (never folders) of `folder` whose names match `pattern`, in the order the
    // platform's search delivers them, each with the last-write time the search itself reports,
    // so that no file is opened. No count limit, any path length; empty when the folder cannot
    // be read.
    std::vector<FileEntry> ListFiles(std::string folder, std::string pattern = "*") const;

    int32_t GetFileAttributes(std::string file) const;
    int32_t GetFolderAttributes(std::string folder) const;
    void SetFileAttributes(std::string file, int32_t attr) const;
    void SetFolderAttributes(std::string folder, int32_t attr) const;

    // The last-write time as local date/time text to the whole second; "" when unreadable.
    std::string GetFileDateTime(std::string file) const;
    std::string GetFolderDateTime(std::string folder) const;
    // Creation, last-access and last-write time all become `datetime` (local time). The text
    // forms throw TypeMismatchError for text that is not a date, before touching the file.
    bool SetFileDateTime(std::string file, DateTime datetime) const;
    bool SetFileDateTime(std::string file, std::string datetime) const;
    bool SetFolderDateTime(std::string folder, DateTime datetime) const;
    bool SetFolderDateTime(std::string folder, std::string datetime) const;

    bool IsFile(std::string file) const;
    bool IsFolder(std::string folder) const;
    // Size in bytes; -1 when the file cannot be opened or is 2 GiB or larger.
    int32_t GetFileSize(std::string file) const;

    std::string AddFolderBackslash(std::string folder) const;
    std::string ExtractFileTitle(std::string file) const;

    std::string AddFileExtension(std::string file, std::string ext) const;
    std::string AddFileQuotes(std::string file) const;
    std::string AddFolderQuotes(std::string folder) const;
    bool ChangeFolder(std::string folder) const;
    bool CopyFile(std::string sourcefile, std::string destinationfile) const;
    bool CreateFolder(std::string folder) const;
    std::string ExpandFolder(std::string folder) const;
    std::string ExtractDrive(std::string file) const;
    std::string ExtractFileExtension(std::string file) const;
    std::string ExtractFolder(std::string folder) const;
    std::string ExtractFolderTitle(std::string folder) const;
    std::string GetCurrentFolder() const;
    bool IsFileExtension(std::string file, std::string ext) const;
    bool RemoveFile(std::string file, bool IgnoreReadonly = false) const;
    std::string RemoveFileExtension(std::string file) const;
    std::string RemoveFileQuotes(std::string file) const;
    bool RemoveFolder(std::string folder, bool IgnoreReadonly = false) const;
    std::string RemoveFolderBackslash(std::string folder) const;
    std::string RemoveFolderQuotes(std::string folder) const;
    bool RenameFile(std::string oldfile, std::string newfile) const;
    bool RenameFolder(std::string oldfolder, std::string newfolder) const;
    std::string SearchFile(std::string startfolder, std::string file) const;
    std::string SearchFolder(std::string startfolder, std::string folder) const;
};

} // namespace cw
