// The desktop scan and the processing of a new order on folders of their own, without a window:
// both desktop folders, which names count as shortcuts, rows whose file is gone, desktops past a
// 16-bit count.
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/DesktopItems.h"
#include "app/ItemLists.h"
#include "app/Journal.h"
#include "app/NewOrder.h"
#include "app/Runs.h"
#include "fs/FileSystem.h"
#include "UnixPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace cw;
using namespace cwtest;

using Texts = std::vector<std::string>;

// Both folders list as one, oldest first; on one second the user's folder first, then folder
// order, whatever the fractions. Only names ending in ".lnk" or ".url" count (not short 8.3 names,
// nor folders); a file held open keeps its place; rows of all users say so, and the later of two
// alike shows its extension. Processing stamps each row's file and the ".pif" of its title in its
// folder, reports a file gone since (or a folder in its place), and changes nothing else.
TEST(DesktopScan, ListsAndStampsBothFoldersInOneOrder) {
    const TempFolder user, all;
    const long long t = LocalSecondsNow() - 86400;
    const std::string url = "[InternetShortcut]\r\nURL=https://example.com/\r\n"
                            "IconFile=C:\\Games\\game.ico\r\nIconIndex=0\r\n";
    const struct {
        const TempFolder& in;
        const char* name;
        long long second;
        int milliseconds;
    } files[] = {
        {all, "Steam.url", 0, 0},
        {user, "Mail.lnk", 0, 900},
        {user, "Web.lnk", 1, 0},
        {user, "Web.url", 2, 0},
        {all, "Same.lnk", 3, 100},
        {user, "Same.lnk", 3, 900},
        {user, "日本語.url", 4, 0},
        {all, "Web.url", 5, 0},
        {user, "Tool (all users).lnk", 6, 0},
        {all, "Tool.lnk", 7, 0},
        {all, "Steam.pif", 8, 0},
        {user, "Notes.txt", 0, 0},
        {user, ".lnk", 9, 0},
        {user, "Report.lnk2", 0, 0},
        {user, "Plain.urlx", 0, 0},
    };
    for (const auto& f : files)
        SetLocalStamp(f.in.MakeFile(f.name, url), t + f.second, f.milliseconds);
    user.MakeFolder("Dir.lnk");
    const DesktopFolders folders{user.Path() + "\\", all.Path() + "\\"};
    const FileSystem fs;
    const HANDLE hold = CreateFileA((user / "Web.url").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    const std::vector<DesktopItem> items = ScanDesktopItems(folders);
    CloseHandle(hold);
    EXPECT_EQ(Titles(items),
              (Texts{"Mail", "Steam (all users)", "Web", "Web.url", "Same", "Same (all users)",
                     "日本語", "Web (all users)", "Tool (all users)", "Tool.lnk (all users)", ""}));
    EXPECT_EQ(FilesOfRows(RowFilesOf(items), {"Web.url", "Steam (all users)", "Unknown"}),
              (std::vector<OrderRow>{{false, "Web.url"}, {true, "Steam.url"}}));

    // Newest first as the new order: row i gets now + 60 i.
    std::vector<OrderRow> rows = RowsOf(items);
    std::reverse(rows.begin(), rows.end());
    rows.insert(rows.end(), {{false, "Gone.lnk"}, {false, "Dir.lnk"}});
    const size_t userFiles = FolderTimes(user.Path()).size();
    Texts failed;
    const long long before = LocalSecondsNow();
    StampNewOrder(fs, folders, rows, kStepAscending,
                  [&](const std::string& p) { failed.push_back(p); });
    const long long after = LocalSecondsNow();
    EXPECT_EQ(failed, (Texts{user / "Gone.lnk", user / "Dir.lnk"}));
    for (size_t row = 0; row < items.size(); ++row) {
        const std::string path = folders.Of(rows[row].allUsers) + rows[row].name;
        EXPECT_GE(StampsOf(path).written, before + static_cast<long long>(row) * 60) << path;
        EXPECT_LE(StampsOf(path).written, after + static_cast<long long>(row) * 60) << path;
    }
    EXPECT_EQ(StampsOf(all / "Steam.pif").written, StampsOf(all / "Steam.url").written);
    for (const char* name : {"Notes.txt", "Report.lnk2", "Plain.urlx"})
        EXPECT_EQ(StampsOf(user / name).written, t) << name;
    EXPECT_EQ(FolderTimes(user.Path()).size(), userFiles);
    EXPECT_EQ(FolderTimes(all.Path()).size(), 6u); // with "."
}

// A run plans with the times of the scan's listing while they hold: a shortcut re-stamped by
// another program after the scan is journaled with its times as they are then, and its folder is
// listed anew. A read (an access time alone) leaves the listing standing.
TEST(DesktopScan, ARunPlansWithTheScansTimesOnlyWhileTheyHold) {
    const TempFolder user, all, journalFolder;
    constexpr unsigned long long kThen = 133'000'000'000'000'000, kLater = kThen + 20'000'000;
    for (const TempFolder* folder : {&user, &all})
        SetExactTimes(folder->MakeFile("A.lnk"), {kThen, kThen, kThen});
    const DesktopFolders folders{user.Path() + "\\", all.Path() + "\\"};
    DesktopListing scanned;
    ASSERT_EQ(ScanDesktopItems(folders, &scanned).size(), 2u);
    SetExactTimes(user / "A.lnk", {0, kLater, 0});
    SetExactTimes(all / "A.lnk", {kLater, kLater, kLater});
    Journal journal(journalFolder.Path() + "\\");
    const StampOutcome outcome =
        StampJournaled(journal, FileSystem(), RunKind::Process, folders,
                       {{false, "A.lnk"}, {true, "A.lnk"}}, kStepAscending, nullptr, scanned);
    ASSERT_EQ(outcome.run.files.size(), 2u);
    EXPECT_EQ(outcome.run.files[0].original.accessed, kThen); // the scan's, as listed
    EXPECT_EQ(outcome.run.files[0].original.written, kThen);
    EXPECT_EQ(outcome.run.files[1].original.accessed, kLater);
    EXPECT_EQ(outcome.run.files[1].original.written, kLater);
}

// More shortcuts than a 16-bit count holds: every one is listed, and the list box takes them all.
TEST(DesktopScan, ListsEveryShortcutPast32767) {
    const TempFolder folder;
    ASSERT_TRUE(MakeNumberedFiles(folder.Path(), 40000, ".lnk"));
    const std::vector<DesktopItem> items = ScanDesktopItems({folder.Path() + "\\", ""});
    EXPECT_EQ(items.size(), 40000u);
    const HWND list = CreateWindowExA(0, "ListBox", "", LBS_HASSTRINGS, 0, 0, 99, 99, nullptr,
                                      nullptr, nullptr, nullptr);
    ReplaceRows(list, Titles(items));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 40000);
    DestroyWindow(list);
}
