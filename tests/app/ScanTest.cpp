// The desktop scan and the processing of a new order on folders of their own, without a window:
// which names count as shortcuts, rows whose shortcut is gone, desktops past a 16-bit count.
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/DesktopItems.h"
#include "app/ItemLists.h"
#include "app/NewOrder.h"
#include "fs/FileSystem.h"
#include "UnixPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace cw;
using namespace cwtest;

using Texts = std::vector<std::string>;

// Names that only look like shortcuts (the search matches their short 8.3 names) stay out, and
// ".lnk" itself is listed with an empty title. Processing stamps the listed rows and reports each
// row whose shortcut is gone since (deleted, a folder in its place, only its ".pif" left, the
// whole folder removed); a missing ".pif" is no failure. Nothing is created, no folder stamped.
TEST(DesktopScan, ListsRealShortcutsOnlyAndProcessingReportsTheGoneOnes) {
    const TempFolder folder;
    const std::string path = folder.Path() + "\\";
    const long long t = LocalSecondsNow() - 86400;
    const Texts names{"Report.lnk2", "Old.lnk_bak", "Plain.urlx", ".lnk", "Upper.LNK", "A.b.lnk"};
    for (size_t i = 0; i < names.size(); ++i)
        SetLocalStamp(folder.MakeFile(names[i]), t + static_cast<long long>(i));
    SetLocalStamp(folder.MakeFile("PifOnly.pif"), t);
    const long long folderStamp = StampsOf(folder.MakeFolder("Dir.lnk")).written;
    const FileSystem fs;
    const DesktopFolders folders{path, ""};
    std::vector<DesktopItem> items = ScanDesktopItems(fs, folders);
    ASSERT_EQ(Titles(items), (Texts{"", "Upper", "A.b"}));

    std::vector<OrderRow> rows = RowsOf(items);
    rows.insert(rows.end(), {{false, "Gone.lnk"}, {false, "Dir.lnk"}, {false, "PifOnly.lnk"}});
    Texts failed;
    const auto report = [&](const std::string& p) { failed.push_back(p); };
    const long long before = LocalSecondsNow();
    StampNewOrder(fs, folders, rows, kStepAscending, report);
    const long long after = LocalSecondsNow();
    EXPECT_EQ(failed, (Texts{path + "Gone.lnk", path + "Dir.lnk", path + "PifOnly.lnk"}));
    for (const auto& [name, row] :
         {std::pair{".lnk", 0}, {"Upper.LNK", 1}, {"A.b.lnk", 2}, {"PifOnly.pif", 5}}) {
        EXPECT_GE(StampsOf(path + name).written, before + row * 60) << name;
        EXPECT_LE(StampsOf(path + name).written, after + row * 60) << name;
    }
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(StampsOf(path + names[i]).written, t + static_cast<long long>(i)) << names[i];
    EXPECT_EQ(StampsOf(path + "Dir.lnk").written, folderStamp);
    for (const char* absent : {"Gone.lnk", "Gone.pif", "Dir.pif", ".pif"})
        EXPECT_EQ(StampsOf(path + absent).written, -1) << absent;

    failed.clear();
    StampNewOrder(fs, {path + "Removed\\", ""}, {{false, "A.lnk"}, {false, "B.lnk"}},
                  kStepAscending, report);
    EXPECT_EQ(failed, (Texts{path + "Removed\\A.lnk", path + "Removed\\B.lnk"}));
    EXPECT_EQ(StampsOf(path + "Removed").written, -1);
}

// The user's desktop and that of all users list as one, by time; on the same second the user's
// folder comes first, then each folder's own order. Rows of all users say so; where two rows
// would read alike, the later shows its extension. Processing stamps each row's own file and the
// ".pif" of its title in its own folder, in both folders, and changes nothing else.
TEST(DesktopScan, ListsAndStampsBothFoldersInOneOrder) {
    const TempFolder user, all;
    const long long t = LocalSecondsNow() - 86400;
    const std::string url = "[InternetShortcut]\r\nURL=https://example.com/\r\n"
                            "IconFile=C:\\Games\\game.ico\r\nIconIndex=0\r\n";
    const struct {
        const TempFolder& in;
        const char* name;
        long long second;
    } files[] = {
        {all, "Steam.url", 0},   {user, "Mail.lnk", 0}, {user, "Web.lnk", 1},
        {user, "Web.url", 2},    {all, "Same.lnk", 3},  {user, "Same.lnk", 3},
        {user, "日本語.url", 4}, {all, "Web.url", 5},   {user, "Tool (all users).lnk", 6},
        {all, "Tool.lnk", 7},    {all, "Steam.pif", 8}, {user, "Notes.txt", 0},
    };
    for (const auto& f : files)
        SetLocalStamp(f.in.MakeFile(f.name, url), t + f.second);
    const DesktopFolders folders{user.Path() + "\\", all.Path() + "\\"};
    const FileSystem fs;
    const std::vector<DesktopItem> items = ScanDesktopItems(fs, folders);
    EXPECT_EQ(Titles(items),
              (Texts{"Mail", "Steam (all users)", "Web", "Web.url", "Same", "Same (all users)",
                     "日本語", "Web (all users)", "Tool (all users)", "Tool.lnk (all users)"}));
    EXPECT_EQ(FilesOfRows(RowFilesOf(items), {"Web.url", "Steam (all users)", "Unknown"}),
              (std::vector<OrderRow>{{false, "Web.url"}, {true, "Steam.url"}}));

    // Newest first as the new order: row i gets now + 60 i.
    std::vector<OrderRow> rows = RowsOf(items);
    std::reverse(rows.begin(), rows.end());
    const std::map<std::string, ExactTimes> userBefore = FolderTimes(user.Path());
    Texts failed;
    const long long before = LocalSecondsNow();
    StampNewOrder(fs, folders, rows, kStepAscending,
                  [&](const std::string& p) { failed.push_back(p); });
    const long long after = LocalSecondsNow();
    EXPECT_EQ(failed, Texts{});
    for (size_t row = 0; row < rows.size(); ++row) {
        const std::string path = folders.Of(rows[row].allUsers) + rows[row].name;
        EXPECT_GE(StampsOf(path).written, before + static_cast<long long>(row) * 60) << path;
        EXPECT_LE(StampsOf(path).written, after + static_cast<long long>(row) * 60) << path;
    }
    EXPECT_EQ(StampsOf(all / "Steam.pif").written, StampsOf(all / "Steam.url").written);
    EXPECT_EQ(StampsOf(user / "Notes.txt").written, t);
    EXPECT_EQ(FolderTimes(user.Path()).size(), userBefore.size());
    EXPECT_EQ(FolderTimes(all.Path()).size(), 7u);
}

// More shortcuts than a 16-bit count holds: every one is listed, and the list box takes them all.
TEST(DesktopScan, ListsEveryShortcutPast32767) {
    const TempFolder folder;
    ASSERT_TRUE(MakeNumberedFiles(folder.Path(), 40000, ".lnk"));
    const std::vector<DesktopItem> items =
        ScanDesktopItems(FileSystem(), {folder.Path() + "\\", ""});
    EXPECT_EQ(items.size(), 40000u);
    const HWND list = CreateWindowExA(0, "ListBox", "", LBS_HASSTRINGS, 0, 0, 99, 99, nullptr,
                                      nullptr, nullptr, nullptr);
    ReplaceRows(list, Titles(items));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 40000);
    DestroyWindow(list);
}
