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
    names_.Reserve(entries.size(), bytes);
    times_.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        if (!entry.info.IsFolder()) {
            names_.Add(entry.name);
            times_.push_back(entry.info.times);
        }
}

bool WatchedFolder::Holds() const {
    return changes_ && WaitForSingleObject(changes_.Get(), 0) == WAIT_TIMEOUT;
}

} // namespace cw
