#pragma once
// One folder's files as listed, with whether the listing still holds. A change notification on
// the folder is opened before the folder is listed; as long as it has not fired, no entry has been
// added, removed or renamed and none has changed its size, attributes, creation or last-write time
// since, so that the listing stands for one made now.
//
// Last-access times are not watched: on a system that keeps them, any program's read of any file
// would fire the notification and no listing would ever hold. A listing's access times are as old
// as the listing (the program's own reads of shortcuts leave them as they were).
#include "fs/FileInfo.h"
#include "win32/Handles.h"
#include "win32/TextList.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class WatchedFolder {
public:
    // Watches, then lists `folder` (with or without its final backslash) as ListFolder does.
    explicit WatchedFolder(std::string folder);

    const std::string& Folder() const { return folder_; }
    // The folder's files (never its folders) in the order the listing gave them: each one's own
    // name and times. Kept compact, as a window keeps its last listing while it is open.
    std::size_t Files() const { return times_.size(); }
    std::string_view Name(std::size_t file) const { return names_[file]; }
    const FileTimes& Times(std::size_t file) const { return times_[file]; }
    // Whether the listing still holds: the folder could be watched and nothing watched has
    // changed in it since.
    bool Holds() const;

private:
    std::string folder_;
    ChangeNotificationHandle changes_;
    TextList names_; // every file's name, one after the other
    std::vector<FileTimes> times_;
};

} // namespace cw
