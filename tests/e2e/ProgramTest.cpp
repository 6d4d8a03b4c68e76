// The real program, started as its own process on a desktop folder of the test's own, driven only
// through its windows; the files' times are checked from outside.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"
#include "win32/VersionInfo.h"

#include <gtest/gtest.h>

using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;
constexpr const char* kTitle = "Norvanta Clutterwise";

} // namespace

// The program's own version block: the About box of the in-process tests reads the test's.
TEST(Program, CarriesItsVersionInformation) {
    const auto version = cw::VersionInfo::Read(ProgramPath());
    ASSERT_TRUE(version) << ProgramPath();
    EXPECT_EQ(version->companyName + " " + version->productName, kTitle);
    EXPECT_EQ(std::to_string(version->major) + "." + std::to_string(version->minor), "1.0");
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
    EXPECT_EQ(second.WaitForExit(), 0u); // a second box would keep it running
    EXPECT_TRUE(second.TopLevelWindows().empty());
    EXPECT_FALSE(first.WaitForExit(0));
    EXPECT_TRUE(IsWindowVisible(main));
}

// A Desktop that resolves to nothing: the program ends at once, without a window or a word.
TEST(Program, EndsSilentlyWithoutADesktopFolder) {
    const DesktopRedirect redirect("");
    AppDriver program;
    bool sawWindow = false;
    EXPECT_TRUE(WaitUntil([&] {
        sawWindow = sawWindow || !program.TopLevelWindows().empty();
        return program.WaitForExit(0).has_value();
    }));
    EXPECT_EQ(program.WaitForExit(0), 0u);
    EXPECT_FALSE(sawWindow);
}

// A user orders four shortcuts, two with names beyond ASCII, processes them Descending while one
// is held open elsewhere, processes again once it is free (every row again), and refreshes.
TEST(Program, OrdersShortcutsAndStampsTheirFiles) {
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    const Texts names{"Notes", "Straße", "日本語", "Mail"};
    for (size_t i = 0; i < names.size(); ++i)
        SetLocalStamp(desktop.MakeFile(names[i] + ".lnk", "shortcut"),
                      t + 3600LL * static_cast<long long>(i));
    const std::string strasse = desktop / "Straße.lnk";
    const DesktopRedirect redirect(desktop.Path());
    AppDriver program;
    const HWND main = program.WaitForWindow(kTitle);
    ASSERT_TRUE(main);

    std::vector<HWND> lists = FindChildren(main, "ListBox");
    ASSERT_EQ(lists.size(), 2u);
    RECT a{}, b{};
    GetWindowRect(lists[0], &a);
    GetWindowRect(lists[1], &b);
    if (a.left > b.left)
        std::swap(lists[0], lists[1]);
    const HWND current = lists[0], added = lists[1];
    const HWND process = FindChild(main, "Button", "Process");
    ASSERT_TRUE(process);
    EXPECT_EQ(Rows(current), names);
    EXPECT_FALSE(IsWindowEnabled(process));

    ClickRow(current, 2);
    ClickRow(current, 0, MK_CONTROL);
    ClickButton(FindChild(main, "Button", ">>"));
    EXPECT_TRUE(WaitUntil([&] { return Rows(added) == Texts{"Notes", "日本語"}; }));
    ClickRow(current, 1, 0, true);
    EXPECT_TRUE(WaitUntil([&] { return Rows(added) == Texts{"Notes", "日本語", "Mail"}; }));
    ClickButton(FindChild(main, "Button", "Select All"));
    PressKey(current, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Rows(current).empty(); }));
    EXPECT_EQ(Rows(added), (Texts{"Notes", "日本語", "Mail", "Straße"}));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(process) != FALSE; }));
    ClickButton(FindChild(main, "Button", "Descending"));

    // Processes once; the files of `offsets` must then lie that far from the clock of the run.
    const auto run = [&](const std::vector<std::pair<std::string, int>>& offsets) {
        const long long before = LocalSecondsNow();
        ClickButton(process);
        Texts boxes;
        while (const auto box = program.AnswerMessageBox()) {
            EXPECT_EQ(box->title, kTitle);
            boxes.push_back(box->text);
            if (box->text.rfind("Go to", 0) == 0)
                break;
        }
        const long long after = LocalSecondsNow();
        for (const auto& [name, offset] : offsets) {
            const FileStamps s = StampsOf(desktop / (name + ".lnk"));
            EXPECT_GE(s.written, before + offset) << name;
            EXPECT_LE(s.written, after + offset) << name;
            EXPECT_EQ(s.accessed, s.written) << name;
        }
        return boxes;
    };
    const std::string done =
        "Go to a blank area of the Desktop, click on the right mouse button\r\n"
        "select \"Arrange Icons\", click \"by Date\"";
    const HANDLE hold = CreateFileA(strasse.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(run({{"Notes", 0}, {"日本語", -60}, {"Mail", -120}}),
              (Texts{"Error accessing " + strasse, done}));
    CloseHandle(hold);
    EXPECT_EQ(StampsOf(strasse).written, t + 3600);
    EXPECT_EQ(run({{"Straße", -180}}), Texts{done});

    // By date, oldest first, the list now reads the new order backwards.
    ClickButton(FindChild(main, "Button", "Refresh"));
    EXPECT_TRUE(WaitUntil([&] { return Rows(added).empty(); }));
    EXPECT_EQ(Rows(current), (Texts{"Straße", "Mail", "日本語", "Notes"}));
    EXPECT_FALSE(IsWindowEnabled(process));
}
