#include "app/DesktopItems.h"

#include "app/PlannedFiles.h"
#include "app/Startup.h"
#include "fs/FileActions.h"
#include "fs/FileSystem.h"
#include "fs/GuardedStamp.h"
#include "fs/SpecialFolders.h"
#include "fs/WatchedFolder.h"
#include "win32/Trace.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace cw {
namespace {

constexpr const char* kAllUsersMark = " (all users)";

void SetWritten(DesktopItem& item, FileTimeValue written) {
    item.Stamp = static_cast<long long>(written / kTicksPerSecond);
    item.Written = written;
}

// Oldest first by whole seconds; stamps within the same second in the order they were listed.
// Then every row's text made unique, as the window ties a row to its file by it: the title, else
// the name with its extension, else that with a number.
void OrderItems(std::vector<DesktopItem>& items) {
    std::sort(items.begin(), items.end(), [](const DesktopItem& a, const DesktopItem& b) {
        return a.Stamp != b.Stamp ? a.Stamp < b.Stamp : a.Listed < b.Listed;
    });
    // The texts taken are the items' own, which stay where they are.
    std::unordered_set<std::string_view> taken;
    taken.reserve(items.size());
    for (DesktopItem& item : items) {
        const char* mark = item.Row.allUsers ? kAllUsersMark : "";
        std::string text = std::string(TitleOf(item.Row.name)) + mark;
        if (taken.count(text) > 0)
            text = item.Row.name + mark;
        for (int n = 2; taken.count(text) > 0; ++n)
            text = item.Row.name + mark + " (" + std::to_string(n) + ")";
        item.Title = std::move(text);
        taken.insert(item.Title);
    }
}

} // namespace

DesktopFolders FindDesktopFolders(const FileSystem& fs, std::string& missing) {
    DesktopFolders folders;
    const std::string named = SpecialFolders().GetSpecialFolder(CSIDL_DESKTOP);
    missing = MissingDesktopText(fs, named);
    folders.user = fs.AddFolderBackslash(named);
    if (const std::string all = GuardedStamp::AllUsersDesktop(); !all.empty())
        folders.allUsers = fs.AddFolderBackslash(all);
    return folders;
}

std::vector<DesktopItem> ScanDesktopItems(const DesktopFolders& folders, DesktopListing* listing) {
    const TraceStep trace("scan");
    // The listings this scan replaces go first: a window keeps only its last.
    if (listing)
        *listing = {};
    std::vector<DesktopItem> items;
    DesktopListing made;
    for (const bool allUsers : {false, true}) {
        const std::string& folder = folders.Of(allUsers);
        // Two folders of one name (a system that names none of its own for all users) list once.
        if (folder.empty() || (allUsers && lstrcmpiA(folder.c_str(), folders.user.c_str()) == 0))
            continue;
        // One listing, in the folder's own order, watched from before it, so that a run's plan
        // can take its times while they hold. Only a name that itself ends in ".lnk" or ".url" is
        // a shortcut: a search pattern would also match short 8.3 forms ("Report.lnk2" is
        // "REPORT~1.LNK").
        const auto& listed = made.folders[allUsers] = std::make_shared<const WatchedFolder>(folder);
        items.reserve(items.size() + listed->Files());
        for (size_t file = 0; file < listed->Files(); ++file) {
            const std::string_view name = listed->Name(file);
            if (!IsShortcutName(name))
                continue;
            DesktopItem item;
            SetWritten(item, listed->Times(file).written);
            item.Listed = items.size();
            item.Row = {allUsers, std::string(name)};
            items.push_back(std::move(item));
        }
    }
    if (listing)
        *listing = std::move(made);
    OrderItems(items);
    return items;
}

std::vector<DesktopItem> WithTimesReadAgain(std::vector<DesktopItem> items,
                                            const DesktopFolders& folders,
                                            const std::vector<std::string>& changed) {
    const TraceStep trace("times again", std::to_string(changed.size()));
    const std::unordered_set<std::string_view> files(changed.begin(), changed.end());
    std::string path;
    std::erase_if(items, [&](DesktopItem& item) {
        path.assign(folders.Of(item.Row.allUsers)).append(item.Row.name);
        if (files.count(path) == 0)
            return false;
        const std::optional<FileInfo> now = FileInfoOf(path);
        if (!now || now->IsFolder())
            return true;
        SetWritten(item, now->times.written);
        return false;
    });
    OrderItems(items);
    return items;
}

std::vector<std::string> Titles(const std::vector<DesktopItem>& items) {
    std::vector<std::string> titles;
    titles.reserve(items.size());
    for (const DesktopItem& item : items)
        titles.push_back(item.Title);
    return titles;
}

std::vector<OrderRow> RowsOf(const std::vector<DesktopItem>& items) {
    std::vector<OrderRow> rows;
    rows.reserve(items.size());
    for (const DesktopItem& item : items)
        rows.push_back(item.Row);
    return rows;
}

RowFiles::RowFiles(const std::vector<DesktopItem>& items) {
    std::size_t titleChars = 0, nameChars = 0;
    for (const DesktopItem& item : items) {
        titleChars += item.Title.size();
        nameChars += item.Row.name.size();
    }
    titles_.Reserve(items.size(), titleChars);
    names_.Reserve(items.size(), nameChars);
    allUsers_.reserve(items.size());
    for (const DesktopItem& item : items) {
        titles_.Add(item.Title);
        names_.Add(item.Row.name);
        allUsers_.push_back(item.Row.allUsers);
    }
    titles_.Index();
}

RowFiles RowFilesOf(const std::vector<DesktopItem>& items) {
    return RowFiles(items);
}

std::vector<OrderRow> FilesOfRows(const RowFiles& files, const std::vector<std::string>& rows) {
    std::vector<OrderRow> found;
    found.reserve(rows.size());
    for (const std::string& row : rows)
        if (const std::size_t file = files.Find(row); file < files.Size())
            found.push_back({files.AllUsers(file), std::string(files.Name(file))});
    return found;
}

std::string ListStatusText(int rows, int selected, const std::string& noun) {
    return std::to_string(rows) + " " + noun + (rows == 1 ? "" : "s") + " / " +
           std::to_string(selected) + " selected ";
}

} // namespace cw
