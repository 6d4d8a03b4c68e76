#pragma once
// One folder's listing that says whether it still holds. A change notification on the folder is
// opened before the folder is listed; as long as it has not fired, no entry has been added,
// removed or renamed and none has changed its size, attributes, creation or last-write time since,
// so that the listing stands for one made now.
//
// Last-access times are not watched: on a system that keeps them, any program's read of any file
// would fire the notification and no listing would ever hold. A listing's access times are as old
// as the listing (the program's own reads of shortcuts leave them as they were).
#include "fs/FolderListing.h"
#include "win32/Handles.h"

#include <string>
#include <vector>

namespace cw {

class WatchedFolder {
public:
    // Watches, then lists `folder` (with or without its final backslash) as ListFolder does.
    explicit WatchedFolder(std::string folder);

    const std::string& Folder() const { return folder_; }
    const std::vector<FolderEntry>& Entries() const { return entries_; }
    // Whether the listing still holds: the folder could be watched and nothing watched has
    // changed in it since.
    bool Holds() const;

private:
    std::string folder_;
    ChangeNotificationHandle changes_;
    std::vector<FolderEntry> entries_;
};

} // namespace cw
