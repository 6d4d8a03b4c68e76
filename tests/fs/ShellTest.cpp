// Special folders. (Desktop.Arrange is checked where the program processes its items, on a shell
// desktop window hierarchy built by tests/app.) GetExplorerFolder has no test: the program never
// asks for it.
#include "DesktopRedirect.h"
#include "TempFolder.h"
#include "fs/SpecialFolders.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <winspool.h>

using namespace cw;

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
