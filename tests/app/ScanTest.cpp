// The desktop scan and the processing of a new order on folders of their own, without a window:
// which names count as shortcuts, desktops past a 16-bit count, rows whose shortcut is gone.
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/DesktopItems.h"
#include "app/ItemLists.h"
#include "app/NewOrder.h"
#include "fs/FileSystem.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;

// Wine looks for every new name through the whole folder (for the same name in other letter
// cases), which makes filling one folder quadratic; its \\?\unix paths skip that.
std::string CreationPath(const std::string& dosPath) {
    using UnixName = char*(__cdecl*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, dosPath.c_str(), -1, wide, MAX_PATH);
    char* found = unixName ? unixName(wide) : nullptr;
    if (!found)
        return dosPath;
    std::string path = "\\\\?\\unix";
    for (const char* c = found; *c; ++c)
        path += *c == '/' ? '\\' : *c;
    HeapFree(GetProcessHeap(), 0, found);
    return path;
}

} // namespace

// Names that only look like shortcuts (the search matches their short 8.3 names) stay out; a
// shortcut named just ".lnk" is listed with an empty title and stamped like the others.
TEST(DesktopScan, ListsOnlyNamesEndingInLnk) {
    const TempFolder folder;
    const std::string path = folder.Path() + "\\";
    const long long t = LocalSecondsNow() - 86400;
    const Texts names{"Report.lnk2", "Old.lnk_bak", "Plain.lnkx", ".lnk", "Upper.LNK", "A.b.lnk"};
    for (size_t i = 0; i < names.size(); ++i)
        SetLocalStamp(folder.MakeFile(names[i]), t + static_cast<long long>(i));
    const FileSystem fs;
    const Texts rows = Titles(ScanDesktopItems(fs, path));
    ASSERT_EQ(rows, (Texts{"", "Upper", "A.b"}));

    Texts failed;
    const long long before = LocalSecondsNow();
    StampNewOrder(fs, path, rows, kStepAscending,
                  [&](const std::string& p) { failed.push_back(p); });
    const long long after = LocalSecondsNow();
    EXPECT_TRUE(failed.empty());
    for (size_t i = 0; i < names.size(); ++i) {
        const long long written = StampsOf(path + names[i]).written;
        if (i < 3) {
            EXPECT_EQ(written, t + static_cast<long long>(i)) << names[i];
        } else {
            EXPECT_GE(written, before + static_cast<long long>(i - 3) * 60) << names[i];
            EXPECT_LE(written, after + static_cast<long long>(i - 3) * 60) << names[i];
        }
    }
}

// More shortcuts than a 16-bit count holds: every one is listed, and the list box takes them all.
TEST(DesktopScan, ListsEveryShortcutPast32767) {
    const TempFolder folder;
    const std::string fast = CreationPath(folder.Path());
    for (int i = 0; i < 40000; ++i) {
        const HANDLE file = CreateFileA((fast + "\\" + std::to_string(i) + ".lnk").c_str(),
                                        GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    const std::vector<DesktopItem> items = ScanDesktopItems(FileSystem(), folder.Path() + "\\");
    EXPECT_EQ(items.size(), 40000u);
    const HWND list = CreateWindowExA(0, "ListBox", "", LBS_HASSTRINGS, 0, 0, 99, 99, nullptr,
                                      nullptr, nullptr, nullptr);
    ReplaceRows(list, Titles(items));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 40000);
    DestroyWindow(list);
}

// Rows whose shortcut is gone since the scan (deleted, a folder in its place, only its ".pif"
// left, the whole desktop folder removed) are reported; a missing ".pif" is not. Nothing is
// created and no folder is stamped.
TEST(NewOrderStamps, ReportsEveryRowWhoseShortcutIsGone) {
    const TempFolder folder;
    const std::string path = folder.Path() + "\\";
    const long long t = LocalSecondsNow() - 86400;
    SetLocalStamp(folder.MakeFile("Kept.lnk"), t);
    SetLocalStamp(folder.MakeFile("PifOnly.pif"), t);
    const long long folderStamp = StampsOf(folder.MakeFolder("Dir.lnk")).written;
    const FileSystem fs;
    const Texts rows{"Kept", "Gone", "Dir", "PifOnly"};
    Texts failed;
    const auto report = [&](const std::string& p) { failed.push_back(p); };

    const long long before = LocalSecondsNow();
    StampNewOrder(fs, path, rows, kStepAscending, report);
    EXPECT_EQ(failed, (Texts{path + "Gone.lnk", path + "Dir.lnk", path + "PifOnly.lnk"}));
    EXPECT_GE(StampsOf(path + "Kept.lnk").written, before);
    EXPECT_GE(StampsOf(path + "PifOnly.pif").written, before + 180);
    EXPECT_EQ(StampsOf(path + "Dir.lnk").written, folderStamp);
    for (const char* absent : {"Gone.lnk", "Gone.pif", "Kept.pif", "Dir.pif"})
        EXPECT_EQ(StampsOf(path + absent).written, -1) << absent;

    failed.clear();
    StampNewOrder(fs, path + "Removed\\", rows, kStepAscending, report);
    EXPECT_EQ(failed, (Texts{path + "Removed\\Kept.lnk", path + "Removed\\Gone.lnk",
                             path + "Removed\\Dir.lnk", path + "Removed\\PifOnly.lnk"}));
    EXPECT_EQ(StampsOf(path + "Removed").written, -1);
}
