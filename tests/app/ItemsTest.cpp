#include "Components.h"
#include "DateTime.h"
#include "DesktopItems.h"
#include "FileStamps.h"
#include "FormClutterwise.h"
#include "ListBox.h"
#include "MessageBoxAnswerer.h"
#include "StatusBar.h"
#include "TestDesktop.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace cw;
using namespace cwtest;

namespace {

using Rows = std::vector<std::string>;

constexpr const char* kCurrent = "ListItemsCurrent";
constexpr const char* kNew = "ListItemsNew";
constexpr const char* kFinal =
    "Go to a blank area of the Desktop, click on the right mouse button\r\n"
    "select \"Arrange Icons\", click \"by Date\"";

// The shell's desktop as Desktop.Arrange looks for it (Wine has none): "Progman", its view window
// and the icon view below that, which counts the arrange requests it gets.
class ShellDesktop {
public:
    ShellDesktop() {
        WNDCLASSA wc{};
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "Progman";
        RegisterClassA(&wc);
        wc.lpfnWndProc = IconView;
        wc.lpszClassName = "CwTestIconView";
        RegisterClassA(&wc);
        program_ = CreateWindowExA(0, "Progman", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        const HWND view = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, program_,
                                          nullptr, wc.hInstance, nullptr);
        CreateWindowExA(0, "CwTestIconView", "", WS_CHILD, 0, 0, 10, 10, view, nullptr,
                        wc.hInstance, nullptr);
        arranged = 0;
    }
    ~ShellDesktop() { DestroyWindow(program_); }
    ShellDesktop(const ShellDesktop&) = delete;
    ShellDesktop& operator=(const ShellDesktop&) = delete;

    static inline int arranged = 0;

private:
    static LRESULT CALLBACK IconView(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == 0x1016) // LVM_ARRANGE
            ++arranged;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    HWND program_ = nullptr;
};

// What the main window showed while each message box was up: the activity panel and the pointer.
class BoxWitness {
public:
    struct Seen {
        std::string panel2;
        int pointer;
    };
    explicit BoxWitness(std::function<Seen()> look) : look_(std::move(look)) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~BoxWitness() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    BoxWitness(const BoxWitness&) = delete;
    BoxWitness& operator=(const BoxWitness&) = delete;
    std::vector<Seen> seen;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && current_ && IsMessageBox(reinterpret_cast<HWND>(wParam)))
            current_->seen.push_back(current_->look_());
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline BoxWitness* current_ = nullptr;
    std::function<Seen()> look_;
    HHOOK hook_ = nullptr;
};

// The main window on the test desktop, driven as a user drives it: clicks on rows and buttons,
// keys; the message boxes it shows are answered and recorded.
class MainWindowItems : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponents();
        TestDesktop::Clear();
    }

    static std::string PathOf(const std::string& name) { return TestDesktop::Path() + "\\" + name; }
    static void MakeFile(const std::string& name) {
        const HANDLE file = CreateFileA(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
        CloseHandle(file);
    }
    static std::string Shortcut(const std::string& name, long long localSeconds, int ms = 0) {
        MakeFile(name);
        SetLocalStamp(PathOf(name), localSeconds, ms);
        return PathOf(name);
    }
    // Left hidden: under Wine, showing FormAbout later in this process fails once a shown
    // main window has been destroyed.
    void Open() { ASSERT_TRUE(form.Load()) << form.LoadError(); }

    HWND Window(const char* name) { return form.Get<Control>(name).Hwnd(); }
    bool Enabled(const char* name) { return IsWindowEnabled(Window(name)) != FALSE; }
    void Click(const char* button) { SendMessageA(Window(button), BM_CLICK, 0, 0); }
    void ClickRow(const char* list, int row, WPARAM keys = 0) {
        RECT r{};
        SendMessageA(Window(list), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 5, r.top + 2);
        SendMessageA(Window(list), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(Window(list), WM_LBUTTONUP, keys, at);
    }
    void DoubleClickRow(const char* list, int row) {
        ClickRow(list, row);
        RECT r{};
        SendMessageA(Window(list), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        SendMessageA(Window(list), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 2));
        SendMessageA(Window(list), WM_LBUTTONUP, 0, MAKELPARAM(r.left + 5, r.top + 2));
    }
    void Enter(const char* list) { SendMessageA(Window(list), WM_KEYDOWN, VK_RETURN, 1); }
    Rows RowsOf(const char* list) {
        const ListBox& box = form.Get<ListBox>(list);
        Rows rows;
        for (int i = 0; i < box.ListCount(); ++i)
            rows.push_back(box.List(i));
        return rows;
    }
    // The text the status bar shows in a panel.
    std::string Shown(int panel) {
        const HWND bar = form.GetComponent<StatusBar>("StatusBarClutterwise")->ControlHwnd();
        char text[256] = "";
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    BoxWitness::Seen Look() { return {Shown(2), form.MousePointer()}; }
    // Each row's files must carry `start` + offset, give or take the run's own length.
    static void ExpectStamped(const std::string& path, long long before, long long after,
                              long long offset) {
        const FileStamps s = StampsOf(path);
        EXPECT_GE(s.written, before + offset) << path;
        EXPECT_LE(s.written, after + offset) << path;
        EXPECT_EQ(s.accessed, s.written) << path;
        // Wine on Linux cannot set a creation time and reports the write time in its place.
        EXPECT_EQ(s.created, s.written) << path;
    }

    FormClutterwise form;
    MessageBoxAnswerer answerer;
};

} // namespace

TEST_F(MainWindowItems, OneShortcutThenNoneAfterRefresh) {
    const std::string mail = Shortcut("Mail.lnk", LocalSecondsNow() - 3600);
    Open();
    EXPECT_EQ(RowsOf(kCurrent), Rows{"Mail"});
    EXPECT_EQ(Shown(0), "1 current item / 0 selected ");
    EXPECT_EQ(Shown(1), "0 new items / 0 selected ");
    EXPECT_EQ(Shown(2), "");
    EXPECT_FALSE(Enabled("CommandItemsAdd") || Enabled("CommandItemsRemove") ||
                 Enabled("CommandProcess"));

    DeleteFileA(mail.c_str());
    Click("CommandRefresh");
    EXPECT_TRUE(RowsOf(kCurrent).empty());
    EXPECT_EQ(Shown(0), "0 current items / 0 selected ");
    // Enter in a list without rows does nothing; a move handler, even with nothing to move,
    // finds the current list empty and so the order complete.
    Enter(kCurrent);
    Enter(kNew);
    EXPECT_FALSE(Enabled("CommandProcess"));
    SendMessageA(Window(kCurrent), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(Enabled("CommandProcess"));
    EXPECT_EQ(Shown(1), "0 new items / 0 selected ");
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(MainWindowItems, ListsShortcutsOldestFirstWithSameSecondTiesInFolderOrder) {
    const long long t = LocalSecondsNow() - 86400;
    Shortcut("Late.lnk", t + 300);
    Shortcut("A.B.lnk", t - 60);
    Shortcut("Straße.lnk", t - 120);
    const std::string locked = Shortcut("Locked.lnk", t - 600);
    Shortcut("Mail.pif", t - 900);
    CreateDirectoryA(PathOf("Folder.lnk").c_str(), nullptr);
    MakeFile("Tie one.lnk");
    MakeFile("Tie two.lnk");
    // Within one second the folder's order holds, even against the fractions of the second.
    Rows ties;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(PathOf("Tie*.lnk").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do
        ties.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_EQ(ties.size(), 2u);
    SetLocalStamp(PathOf(ties[0]), t, 900);
    SetLocalStamp(PathOf(ties[1]), t, 100);
    // A stamp that cannot be read puts its shortcut last instead of ending the scan.
    const HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    Open();
    CloseHandle(hold);
    EXPECT_EQ(RowsOf(kCurrent), (Rows{"Straße", "A.B", ties[0].substr(0, ties[0].size() - 4),
                                      ties[1].substr(0, ties[1].size() - 4), "Late", "Locked"}));
    EXPECT_EQ(Shown(0), "6 current items / 0 selected ");
}

TEST_F(MainWindowItems, MovesRowsBothWaysAndRefreshStartsAgain) {
    const long long t = LocalSecondsNow() - 86400;
    const Rows names{"R0", "R1", "日本語", "R3", "R4"};
    for (size_t i = 0; i < names.size(); ++i)
        Shortcut(names[i] + ".lnk", t + static_cast<long long>(i) * 60);
    Open();
    ASSERT_EQ(RowsOf(kCurrent), names);

    ClickRow(kCurrent, 1);
    ClickRow(kCurrent, 3, MK_CONTROL);
    EXPECT_EQ(Shown(0), "5 current items / 2 selected ");
    EXPECT_TRUE(Enabled("CommandItemsAdd"));
    Click("CommandItemsAdd");
    EXPECT_EQ(RowsOf(kNew), (Rows{"R1", "R3"}));
    EXPECT_EQ(RowsOf(kCurrent), (Rows{"R0", "日本語", "R4"}));
    EXPECT_FALSE(Enabled("CommandItemsAdd") || Enabled("CommandProcess"));
    EXPECT_EQ(Shown(0), "3 current items / 0 selected ");
    EXPECT_EQ(Shown(1), "2 new items / 0 selected ");

    // Back with "<<": to the bottom of the current list, not to its place by date.
    ClickRow(kNew, 0);
    EXPECT_TRUE(Enabled("CommandItemsRemove"));
    EXPECT_EQ(Shown(1), "2 new items / 1 selected ");
    Click("CommandItemsRemove");
    EXPECT_EQ(RowsOf(kCurrent), (Rows{"R0", "日本語", "R4", "R1"}));
    EXPECT_EQ(RowsOf(kNew), Rows{"R3"});
    EXPECT_FALSE(Enabled("CommandItemsRemove"));

    Click("CommandSelectall");
    EXPECT_EQ(Shown(0), "4 current items / 4 selected ");
    EXPECT_TRUE(Enabled("CommandItemsAdd"));
    Enter(kCurrent);
    EXPECT_EQ(RowsOf(kNew), (Rows{"R3", "R0", "日本語", "R4", "R1"}));
    EXPECT_TRUE(Enabled("CommandProcess"));
    EXPECT_FALSE(Enabled("CommandItemsAdd"));
    EXPECT_EQ(Shown(0), "0 current items / 0 selected ");
    EXPECT_EQ(Shown(1), "5 new items / 0 selected ");

    DoubleClickRow(kNew, 2);
    EXPECT_EQ(RowsOf(kCurrent), Rows{"日本語"});
    EXPECT_FALSE(Enabled("CommandProcess"));

    // Refresh drops the order built so far and lists by date again.
    ClickRow(kNew, 0);
    Click("CommandRefresh");
    EXPECT_EQ(RowsOf(kCurrent), names);
    EXPECT_TRUE(RowsOf(kNew).empty());
    EXPECT_FALSE(Enabled("CommandItemsAdd") || Enabled("CommandItemsRemove") ||
                 Enabled("CommandProcess"));
    EXPECT_EQ(Shown(1), "0 new items / 0 selected ");
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
}

TEST_F(MainWindowItems, ProcessesAscendingThenDescendingOneMinuteApart) {
    long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"A", "B", "C", "D"})
        Shortcut(std::string(name) + ".lnk", t++);
    Shortcut("A.pif", t);
    Shortcut("C.pif", t);
    Open();
    Click("CommandSelectall");
    Click("CommandItemsAdd");
    ASSERT_EQ(RowsOf(kNew), (Rows{"A", "B", "C", "D"}));
    // Gone since the scan: B altogether (skipped, its row still counts), C but for its ".pif".
    DeleteFileA(PathOf("B.lnk").c_str());
    DeleteFileA(PathOf("C.lnk").c_str());

    const ShellDesktop shell;
    const BoxWitness witness([this] { return Look(); });
    long long before = LocalSecondsNow();
    Click("CommandProcess");
    long long after = LocalSecondsNow();
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, kFinal);
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Information);
    EXPECT_EQ(answerer.Boxes()[0].title, "Norvanta Clutterwise");
    ASSERT_EQ(witness.seen.size(), 1u);
    EXPECT_EQ(witness.seen[0].panel2, ""); // emptied before the final word
    EXPECT_EQ(witness.seen[0].pointer, kPointerHourglass);
    EXPECT_EQ(ShellDesktop::arranged, 1);
    ExpectStamped(PathOf("A.lnk"), before, after, 0);
    ExpectStamped(PathOf("A.pif"), before, after, 0);
    ExpectStamped(PathOf("C.pif"), before, after, 120);
    ExpectStamped(PathOf("D.lnk"), before, after, 180);
    EXPECT_EQ(StampsOf(PathOf("B.lnk")).written, -1);
    // Nothing is rescanned: the lists stay, and so may be processed again.
    EXPECT_EQ(RowsOf(kNew), (Rows{"A", "B", "C", "D"}));
    EXPECT_TRUE(Enabled("CommandProcess"));
    EXPECT_EQ(form.MousePointer(), kPointerDefault);

    Click("OptionMethodDescending");
    before = LocalSecondsNow();
    Click("CommandProcess");
    after = LocalSecondsNow();
    EXPECT_EQ(answerer.Boxes().size(), 2u);
    ExpectStamped(PathOf("A.lnk"), before, after, 0);
    ExpectStamped(PathOf("A.pif"), before, after, 0);
    ExpectStamped(PathOf("C.pif"), before, after, -120);
    ExpectStamped(PathOf("D.lnk"), before, after, -180);
}

TEST_F(MainWindowItems, ReportsAShortcutItCannotStampAndGoesOn) {
    long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"A", "B", "C"})
        Shortcut(std::string(name) + ".lnk", t++);
    Open();
    Click("CommandSelectall");
    Click("CommandItemsAdd");
    // Held open by another program that lets others read it but not write to it.
    const HANDLE hold = CreateFileA(PathOf("B.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    const ShellDesktop shell;
    const BoxWitness witness([this] { return Look(); });
    const long long before = LocalSecondsNow();
    Click("CommandProcess");
    const long long after = LocalSecondsNow();
    CloseHandle(hold);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].text, "Error accessing " + PathOf("B.lnk"));
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(witness.seen[0].panel2, "Processing items...");
    EXPECT_EQ(answerer.Boxes()[1].text, kFinal);
    EXPECT_EQ(ShellDesktop::arranged, 1);
    EXPECT_EQ(StampsOf(PathOf("B.lnk")).written, t - 2);
    ExpectStamped(PathOf("A.lnk"), before, after, 0);
    ExpectStamped(PathOf("C.lnk"), before, after, 120);
}

TEST_F(MainWindowItems, ReportsAReadOnlyShortcut) {
    const std::string file = Shortcut("A.lnk", LocalSecondsNow() - 86400);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    if (const HANDLE probe =
            CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this user may write to read-only files (Wine run as root)";
    }
    Open();
    Click("CommandSelectall");
    Click("CommandItemsAdd");
    Click("CommandProcess");
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].text, "Error accessing " + file);
    EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
}

// Offsets of 60 s x row outgrow 16 bits from row 547 on.
TEST_F(MainWindowItems, ProcessesSixHundredRows) {
    const long long t = LocalSecondsNow() - 86400;
    for (int i = 0; i < 600; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Row %03d.lnk", i);
        Shortcut(name, t + i);
    }
    Open();
    Click("CommandSelectall");
    Click("CommandItemsAdd");
    ASSERT_EQ(form.Get<ListBox>(kNew).ListCount(), 600);
    const long long before = LocalSecondsNow();
    Click("CommandProcess");
    const long long after = LocalSecondsNow();
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, kFinal);
    for (const int row : {0, 546, 547, 599})
        ExpectStamped(PathOf(form.Get<ListBox>(kNew).List(row) + ".lnk"), before, after,
                      60LL * row);
}

// Against the exchange sort the order is defined by: oldest first by whole seconds, neighbours
// swapped only when the first is later, unreadable stamps after all readable ones.
TEST(DesktopItemOrder, MatchesAStableExchangeSortOnManyTies) {
    std::mt19937 random(7);
    std::vector<DesktopItem> items;
    for (int i = 0; i < 300; ++i) {
        const int second = static_cast<int>(random() % 25);
        std::string text = random() % 10 == 0
                               ? std::string()
                               : FormatDateTime({2026, 3, 1 + second % 2, 10, 0, second});
        items.push_back({"", std::to_string(i), std::move(text)});
    }
    // Each text read back once, only to keep the reference quick.
    std::vector<std::pair<std::optional<DateTime>, DesktopItem>> expected;
    for (const DesktopItem& item : items)
        expected.emplace_back(ParseDateTime(item.DateTime), item);
    const auto later = [](const auto& a, const auto& b) {
        if (!a.first || !b.first)
            return !a.first && b.first;
        return SecondsBetween(*b.first, *a.first) > 0;
    };
    for (size_t i = 0; i < expected.size(); ++i)
        for (size_t j = 0; j + i + 1 < expected.size(); ++j)
            if (later(expected[j], expected[j + 1]))
                std::swap(expected[j], expected[j + 1]);
    Rows order;
    for (const auto& entry : expected)
        order.push_back(entry.second.Title);
    SortByTimeStamp(items);
    EXPECT_EQ(Titles(items), order);
}
