#include "fs/WatchedFolder.h"

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
    entries_ = ListFolder(folder_);
}

bool WatchedFolder::Holds() const {
    return changes_ && WaitForSingleObject(changes_.Get(), 0) == WAIT_TIMEOUT;
}

} // namespace cw
