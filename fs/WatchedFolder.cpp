#include "fs/WatchedFolder.h"

#include "fs/FolderListing.h"
#include "fs/WidePath.h"

#include <windows.h>

namespace cw {
namespace {

// Everything a listing reports but the access time.
constexpr DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;

} // namespace

WatchedFolder::WatchedFolder(std::string folder) : folder_(std::move(folder)) {
    std::string watched = folder_;
    if (watched.size() > 3 && watched.back() == '\\')
        watched.pop_back(); // "C:\" stays a root
    // Before the listing, so that a change made while it lists fires it too.
    changes_.Reset(FindFirstChangeNotificationW(WidePath(watched).c_str(), FALSE, kWatched));
    const std::vector<FolderEntry> entries = ListFolder(folder_);
    size_t bytes = 0;
    for (const FolderEntry& entry : entries)
        bytes += entry.name.size();
    names_.reserve(bytes);
    files_.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        if (!entry.info.IsFolder()) {
            names_ += entry.name;
            files_.push_back({entry.info.times, names_.size()});
        }
}

std::string_view WatchedFolder::Name(std::size_t file) const {
    const size_t from = file == 0 ? 0 : files_[file - 1].nameEnd;
    return std::string_view(names_).substr(from, files_[file].nameEnd - from);
}

bool WatchedFolder::Holds() const {
    return changes_ && WaitForSingleObject(changes_.Get(), 0) == WAIT_TIMEOUT;
}

} // namespace cw
