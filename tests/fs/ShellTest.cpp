#include "DesktopRedirect.h"
#include "TempFolder.h"
#include "fs/Desktop.h"
#include "fs/SpecialFolders.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <winspool.h>

using namespace cw;

namespace {

// A hidden top-level or child window of a class registered here, destroyed afterwards.
class TestWindow {
  public:
    TestWindow(const char* cls, WNDPROC proc, HWND parent = nullptr) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = cls;
        RegisterClassA(&wc);
        window = CreateWindowExA(0, cls, "", parent ? WS_CHILD : WS_OVERLAPPED, 0, 0, 10, 10,
                                 parent, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { DestroyWindow(window); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND window;
};

int arranged = 0;
WPARAM arrangeFlags = 99;

LRESULT CALLBACK IconView(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LVM_ARRANGE) {
        ++arranged;
        arrangeFlags = wParam;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

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

TEST(SpecialFolders, DesktopFollowsTheShellsSetting) {
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
    const TestWindow explorer("ExploreWClass", Explorer);
    EXPECT_EQ(folders.GetExplorerFolder(), temp.Path());
}

TEST(Desktop, ArrangeReachesOnlyTheIconViewBelowProgman) {
    ASSERT_EQ(FindWindowA("Progman", nullptr), nullptr);
    {
        // Another shell's windows are left alone, and so is a "Progman" without the view.
        const TestWindow other("CwTestOtherShell", DefWindowProcA);
        const TestWindow view("CwTestShellView", DefWindowProcA, other.window);
        const TestWindow icons("CwTestIconView", IconView, view.window);
        const TestWindow program("Progman", DefWindowProcA);
        Desktop().Arrange();
        EXPECT_EQ(arranged, 0);
    }
    const TestWindow program("Progman", DefWindowProcA);
    const TestWindow view("CwTestShellView", DefWindowProcA, program.window);
    const TestWindow icons("CwTestIconView", IconView, view.window);
    Desktop().Arrange();
    EXPECT_EQ(arranged, 1);
    EXPECT_EQ(arrangeFlags, WPARAM{LVA_DEFAULT});
    Desktop().Refresh();
}
