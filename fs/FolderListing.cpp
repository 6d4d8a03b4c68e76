#include "fs/FolderListing.h"

#include "fs/WidePath.h"
#include "win32/FileTime.h"
#include "win32/Handles.h"

#include <windows.h>

namespace cw {

// The wide search: its record holds names of 260 characters, where the narrow one holds 260 bytes
// (fewer characters beyond ASCII). Without short names and in large batches, as a desktop of
// thousands of shortcuts is listed at every start and every run.
std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& pattern) {
    std::vector<FolderEntry> entries;
    const bool joined = folder.empty() || folder.back() == '\\';
    WIN32_FIND_DATAW data;
    const FindHandle search(
        FindFirstFileExW(WidePath(folder + (joined ? "" : "\\") + pattern).c_str(), FindExInfoBasic,
                         &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search)
        return entries;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const FileInfo info{data.dwFileAttributes,
                            (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                            {TicksOf(data.ftCreationTime), TicksOf(data.ftLastAccessTime),
                             TicksOf(data.ftLastWriteTime)}};
        entries.push_back({Narrow(name), info});
    } while (FindNextFileW(search.Get(), &data));
    return entries;
}

} // namespace cw
