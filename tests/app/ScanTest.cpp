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
    const Texts names{"Report.lnk2", "Old.lnk_bak", "Plain.lnkx", ".lnk", "Upper.LNK", "A.b.lnk"};
    for (size_t i = 0; i < names.size(); ++i)
        SetLocalStamp(folder.MakeFile(names[i]), t + static_cast<long long>(i));
    SetLocalStamp(folder.MakeFile("PifOnly.pif"), t);
    const long long folderStamp = StampsOf(folder.MakeFolder("Dir.lnk")).written;
    const FileSystem fs;
    Texts rows = Titles(ScanDesktopItems(fs, path));
    ASSERT_EQ(rows, (Texts{"", "Upper", "A.b"}));

    rows.insert(rows.end(), {"Gone", "Dir", "PifOnly"});
    Texts failed;
    const auto report = [&](const std::string& p) { failed.push_back(p); };
    const long long before = LocalSecondsNow();
    StampNewOrder(fs, path, rows, kStepAscending, report);
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
    StampNewOrder(fs, path + "Removed\\", {"A", "B"}, kStepAscending, report);
    EXPECT_EQ(failed, (Texts{path + "Removed\\A.lnk", path + "Removed\\B.lnk"}));
    EXPECT_EQ(StampsOf(path + "Removed").written, -1);
}

// More shortcuts than a 16-bit count holds: every one is listed, and the list box takes them all.
TEST(DesktopScan, ListsEveryShortcutPast32767) {
    const TempFolder folder;
    ASSERT_TRUE(MakeNumberedFiles(folder.Path(), 40000, ".lnk"));
    const std::vector<DesktopItem> items = ScanDesktopItems(FileSystem(), folder.Path() + "\\");
    EXPECT_EQ(items.size(), 40000u);
    const HWND list = CreateWindowExA(0, "ListBox", "", LBS_HASSTRINGS, 0, 0, 99, 99, nullptr,
                                      nullptr, nullptr, nullptr);
    ReplaceRows(list, Titles(items));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 40000);
    DestroyWindow(list);
}
