// Special folders. (Desktop.Arrange is checked where the program processes its items, on a shell
// desktop window hierarchy built by tests/app.)
#include "DesktopRedirect.h"
#include "TempFolder.h"
#include "fs/SpecialFolders.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <winspool.h>

using namespace cw;

namespace {

std::string shownFolder;

// Answers as an Explorer window does: the item-ID list of its folder in a shared block.
LRESULT CALLBACK Explorer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER + 12)
        return DefWindowProcA(window, message, wParam, lParam);
    using AllocShared = HANDLE(WINAPI*)(const void*, DWORD, DWORD);
    const auto allocShared = reinterpret_cast<AllocShared>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("shell32.dll"), MAKEINTRESOURCEA(520))));
    PIDLIST_ABSOLUTE list = ILCreateFromPathA(shownFolder.c_str());
    const HANDLE block = allocShared(list, ILGetSize(list), static_cast<DWORD>(wParam));
    ILFree(list);
    return reinterpret_cast<LRESULT>(block);
}

} // namespace

TEST(SpecialFolders, DesktopFollowsTheShellsSettingAndVirtualFoldersHaveNoPath) {
    const cwtest::TempFolder desktop;
    const cwtest::DesktopRedirect redirect(desktop.Path());
    const SpecialFolders folders;
    EXPECT_EQ(folders.GetSpecialFolder(CSIDL_DESKTOP), desktop.Path());
    EXPECT_EQ(folders.GetSpecialFolder(0xFE), "");
    EXPECT_EQ(folders.GetSpecialFolder(CSIDL_DRIVES), "");
}

// The byte counts these queries report do not measure the path (under Wine one counts the
// narrow text, the other its UTF-16 form): the answer must be the whole path either way.
TEST(SpecialFolders, PrinterFoldersAreWholePaths) {
    const SpecialFolders folders;
    const auto whole = [](auto query) {
        char buffer[1024] = "";
        DWORD needed = 0;
        query(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(buffer), sizeof buffer, &needed);
        return std::string(buffer);
    };
    EXPECT_EQ(folders.GetPrinterDriverFolder(), whole(GetPrinterDriverDirectoryA));
    EXPECT_EQ(folders.GetPrintProcessorFolder(), whole(GetPrintProcessorDirectoryA));
    EXPECT_NE(folders.GetPrinterDriverFolder(), "");
}

TEST(SpecialFolders, ExplorerFolderIsTheFolderAnExplorerWindowShows) {
    const SpecialFolders folders;
    ASSERT_EQ(FindWindowA("ExploreWClass", nullptr), nullptr);
    EXPECT_EQ(folders.GetExplorerFolder(), "");
    const cwtest::TempFolder temp;
    shownFolder = temp.Path();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Explorer;
    wc.lpszClassName = "ExploreWClass";
    RegisterClassA(&wc);
    const OwnedWindow explorer(
        CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 9, 9, 0, 0, 0, nullptr));
    EXPECT_EQ(folders.GetExplorerFolder(), temp.Path());
}
