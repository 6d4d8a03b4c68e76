// The real program, started as its own process on a desktop folder of the test's own, driven only
// through its windows; the files' times are checked from outside.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"
#include "win32/VersionInfo.h"

#include <gtest/gtest.h>

#include <optional>

using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;
constexpr const char* kTitle = "Norvanta Clutterwise";

std::string Shortcut(const TempFolder& desktop, const std::string& name, long long localSeconds) {
    const std::string path = desktop.MakeFile(name + ".lnk", "shortcut");
    SetLocalStamp(path, localSeconds);
    return path;
}

} // namespace

TEST(Program, CarriesItsVersionInformation) {
    const auto version = cw::VersionInfo::Read(ProgramPath());
    ASSERT_TRUE(version) << ProgramPath();
    EXPECT_EQ(version->companyName, "Norvanta");
    EXPECT_EQ(version->productName, "Clutterwise");
    EXPECT_EQ(version->major, 1);
    EXPECT_EQ(version->minor, 0);
    EXPECT_EQ(version->legalCopyright, "Copyright \xC2\xA9 2026 Norvanta");
}

// The second start shows exactly one message box, never a window of its own, and ends; the first
// runs on. (The box's icon is checked in-process: icon handles do not compare across processes.)
TEST(Program, SecondInstanceGetsOneMessageBoxAndNoWindow) {
    const TempFolder desktop;
    const DesktopRedirect redirect(desktop.Path());
    AppDriver first;
    const HWND main = first.WaitForWindow(kTitle);
    ASSERT_TRUE(main);

    AppDriver second;
    const auto box = second.AnswerMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, kTitle);
    EXPECT_EQ(box->text, "The application is already active");
    EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0)); // a second box would keep it running
    EXPECT_TRUE(second.TopLevelWindows().empty());

    EXPECT_FALSE(first.WaitForExit(0));
    EXPECT_TRUE(IsWindowVisible(main));
}

// A Desktop that resolves to nothing: the program ends at once, without a window or a word.
TEST(Program, EndsSilentlyWithoutADesktopFolder) {
    const DesktopRedirect redirect("");
    AppDriver program;
    bool sawWindow = false;
    std::optional<DWORD> exit;
    for (int i = 0; i < 200 && !exit; ++i) {
        sawWindow = sawWindow || !program.TopLevelWindows().empty();
        exit = program.WaitForExit(50);
    }
    EXPECT_EQ(exit, std::optional<DWORD>(0));
    EXPECT_FALSE(sawWindow);
}

// A user orders four shortcuts, two with names beyond ASCII, processes them Descending while one
// is held open elsewhere, processes again once it is free (every row again), and refreshes.
TEST(Program, OrdersShortcutsAndStampsTheirFiles) {
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    Shortcut(desktop, "Notes", t - 4 * 3600);
    const std::string strasse = Shortcut(desktop, "Straße", t - 3 * 3600);
    Shortcut(desktop, "日本語", t - 2 * 3600);
    Shortcut(desktop, "Mail", t - 3600);
    const DesktopRedirect redirect(desktop.Path());
    AppDriver program;
    const HWND main = program.WaitForWindow(kTitle);
    ASSERT_TRUE(main);

    std::vector<HWND> lists = FindChildren(main, "ListBox");
    ASSERT_EQ(lists.size(), 2u);
    RECT a{}, b{};
    GetWindowRect(lists[0], &a);
    GetWindowRect(lists[1], &b);
    const HWND current = a.left < b.left ? lists[0] : lists[1];
    const HWND added = current == lists[0] ? lists[1] : lists[0];
    const HWND process = FindChild(main, "Button", "Process");
    ASSERT_TRUE(process);
    EXPECT_EQ(Rows(current), (Texts{"Notes", "Straße", "日本語", "Mail"}));
    EXPECT_FALSE(IsWindowEnabled(process));

    ClickRow(current, 2);
    ClickRow(current, 0, MK_CONTROL);
    ClickButton(FindChild(main, "Button", ">>"));
    EXPECT_TRUE(WaitUntil([&] { return Rows(added) == Texts{"Notes", "日本語"}; }));
    DoubleClickRow(current, 1);
    EXPECT_TRUE(WaitUntil([&] { return Rows(added) == Texts{"Notes", "日本語", "Mail"}; }));
    ClickButton(FindChild(main, "Button", "Select All"));
    PressKey(current, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Rows(current).empty(); }));
    EXPECT_EQ(Rows(added), (Texts{"Notes", "日本語", "Mail", "Straße"}));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(process) != FALSE; }));
    ClickButton(FindChild(main, "Button", "Descending"));

    const HANDLE hold = CreateFileA(strasse.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    long long before = LocalSecondsNow();
    ClickButton(process);
    const auto error = program.AnswerMessageBox();
    const auto done = program.AnswerMessageBox();
    long long after = LocalSecondsNow();
    CloseHandle(hold);
    ASSERT_TRUE(error && done);
    EXPECT_EQ(error->text, "Error accessing " + strasse);
    EXPECT_EQ(error->title, kTitle);
    EXPECT_EQ(done->text, "Go to a blank area of the Desktop, click on the right mouse button\r\n"
                          "select \"Arrange Icons\", click \"by Date\"");
    const auto expect = [&](const std::string& name, long long offset) {
        const FileStamps s = StampsOf(desktop / (name + ".lnk"));
        EXPECT_GE(s.written, before + offset) << name;
        EXPECT_LE(s.written, after + offset) << name;
        EXPECT_EQ(s.accessed, s.written) << name;
    };
    expect("Notes", 0);
    expect("日本語", -60);
    expect("Mail", -120);
    EXPECT_EQ(StampsOf(strasse).written, t - 3 * 3600);

    before = LocalSecondsNow();
    ClickButton(process);
    const auto again = program.AnswerMessageBox();
    after = LocalSecondsNow();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, done->text);
    expect("Straße", -180);

    // By date, oldest first, the list now reads the new order backwards.
    ClickButton(FindChild(main, "Button", "Refresh"));
    EXPECT_TRUE(WaitUntil([&] { return Rows(added).empty(); }));
    EXPECT_EQ(Rows(current), (Texts{"Straße", "Mail", "日本語", "Notes"}));
    EXPECT_FALSE(IsWindowEnabled(process));
}
