#pragma once
// The desktop scan's records and the rules the main window applies to its two lists, kept free of
// windows so that tests and the benchmark call them directly.
#include "app/JournalText.h"
#include "win32/TextList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class FileSystem;
class WatchedFolder;

// The two folders whose contents the desktop shows together, each ending in a backslash; the
// all-users one is "" when the system names none.
struct DesktopFolders {
    std::string user, allUsers;
    const std::string& Of(bool allUsersRow) const { return allUsersRow ? allUsers : user; }
};

// Both folders as the system names them now; `missing` gets what to say when the user's cannot
// be listed ("The desktop folder cannot be found." ...), "" when it can.
DesktopFolders FindDesktopFolders(const FileSystem& fs, std::string& missing);

// One shortcut found by a scan.
struct DesktopItem {
    std::string Title;         // the row's text: the name without folder and extension,
                               // " (all users)" for the all-users desktop, and the extension
                               // where two would read alike
    long long Stamp = 0;       // last-write time, whole seconds since 1601 (UTC), from the listing
    std::uint64_t Written = 0; // the same to the 100 ns
    std::size_t Listed = 0;    // its place in the scan's listing, which orders equal stamps
    OrderRow Row;              // the folder and the file's name
};

// The listings a scan made: the user's folder's, then that of all users (null where the scan
// listed none). Shared by every copy; a run's plan takes its times from them while they hold.
struct DesktopListing {
    std::shared_ptr<const WatchedFolder> folders[2];
    const WatchedFolder* Of(bool allUsersRow) const { return folders[allUsersRow].get(); }
};

// Every ".lnk" and ".url" of both folders, oldest first by whole seconds; stamps within the same
// second keep the user's folder first, then each folder's own order. The times are the values the
// listing reports, never their text (which the user's formats may not carry back to the same
// second). A folder that is missing lists nothing. The listings made go to `listing` when given.
std::vector<DesktopItem> ScanDesktopItems(const DesktopFolders& folders,
                                          DesktopListing* listing = nullptr);

// The items of a scan after a run changed some of their files (full paths): those files' times
// read again (a file gone since leaves its row), then everything ordered as a scan orders it. A
// run that changed a few files costs a look at each rather than another scan.
std::vector<DesktopItem> WithTimesReadAgain(std::vector<DesktopItem> items,
                                            const DesktopFolders& folders,
                                            const std::vector<std::string>& changed);

// The rows a list shows for the records, in their order; each text is unique.
std::vector<std::string> Titles(const std::vector<DesktopItem>& items);

// The files of the records, in their order.
std::vector<OrderRow> RowsOf(const std::vector<DesktopItem>& items);

// Row text to the file it stands for, for the rows a window shows from one scan, each at its
// place in the scan's order. A window keeps it for as long as it shows the rows: the texts are
// kept in a few blocks (win32/TextList) rather than in a string apiece.
class RowFiles {
public:
    RowFiles() = default;
    explicit RowFiles(const std::vector<DesktopItem>& items);
    std::size_t Size() const { return titles_.Size(); }
    // The place of a row's text; Size() when the scan gave no such row.
    std::size_t Find(std::string_view title) const { return titles_.Find(title); }
    bool AllUsers(std::size_t place) const { return allUsers_[place]; }
    std::string_view Name(std::size_t place) const { return names_[place]; }

private:
    TextList titles_, names_;
    std::vector<bool> allUsers_;
};
RowFiles RowFilesOf(const std::vector<DesktopItem>& items);
// The files of `rows`, row texts of that scan; a text the scan did not give is left out.
std::vector<OrderRow> FilesOfRows(const RowFiles& files, const std::vector<std::string>& rows);

// "12 current items / 0 selected " and the like; `noun` is "current item" or "new item".
std::string ListStatusText(int rows, int selected, const std::string& noun);

// Seconds added to the current time for row `row` of the new order (step +60 or -60). Wide
// arithmetic: every row a list can hold (up to 32,767) gets its offset.
inline std::int64_t RowOffsetSeconds(std::int16_t step, std::int32_t row) {
    return static_cast<std::int64_t>(step) * row;
}

} // namespace cw
