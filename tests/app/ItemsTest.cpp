#include "FileStamps.h"
#include "MessageBoxAnswerer.h"
#include "TestDesktop.h"
#include "app/FormClutterwise.h"
#include "controls/Components.h"
#include "controls/statusbar/StatusBar.h"
#include "forms/ListBox.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <cstring>
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

// Calls `seen` whenever a message box of this thread activates (before it is answered).
class BoxWatch {
public:
    explicit BoxWatch(std::function<void()> seen) {
        seen_ = std::move(seen);
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~BoxWatch() { UnhookWindowsHookEx(hook_); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && IsMessageBox(reinterpret_cast<HWND>(wParam)))
            seen_();
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::function<void()> seen_;
    HHOOK hook_;
};

// The shell's desktop as Desktop.Arrange looks for it (Wine has none): "Progman", a view, and
// below that the icon view, which counts the arrange requests (LVM_ARRANGE) it gets.
struct ShellDesktop {
    ShellDesktop() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "Progman";
        RegisterClassA(&wc);
        wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            arranged += msg == LVM_ARRANGE;
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        };
        wc.lpszClassName = "CwTestIconView";
        RegisterClassA(&wc);
        program = CreateWindowExA(0, "Progman", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr,
                                  nullptr);
        const HWND view = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 9, 9, program, nullptr,
                                          nullptr, nullptr);
        CreateWindowExA(0, "CwTestIconView", "", WS_CHILD, 0, 0, 9, 9, view, nullptr, nullptr,
                        nullptr);
        arranged = 0;
    }
    ~ShellDesktop() { DestroyWindow(program); }
    HWND program;
    static inline int arranged = 0;
};

// The main window on the test desktop, driven as a user drives it; its message boxes are
// answered and recorded. It stays hidden: under Wine, showing FormAbout later in the same process
// fails once a shown main window has been destroyed.
class MainWindowItems : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponents();
        TestDesktop::Clear();
    }
    static std::string PathOf(const std::string& name) { return TestDesktop::Path() + "\\" + name; }
    static std::string Shortcut(const std::string& name, long long localSeconds, int ms = 0) {
        CloseHandle(CreateFileA(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                nullptr));
        SetLocalStamp(PathOf(name), localSeconds, ms);
        return PathOf(name);
    }
    void Open() { ASSERT_TRUE(form.Load()) << form.LoadError(); }
    void MoveAll() {
        Click("CommandSelectall");
        Click("CommandItemsAdd");
    }

    HWND Window(const char* name) { return form.Get<Control>(name).Hwnd(); }
    bool Enabled(const char* name) { return IsWindowEnabled(Window(name)) != FALSE; }
    void Click(const char* button) { SendMessageA(Window(button), BM_CLICK, 0, 0); }
    void ClickRow(const char* list, int row, WPARAM keys = 0, bool twice = false) {
        RECT r{};
        SendMessageA(Window(list), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 5, r.top + 2);
        SendMessageA(Window(list), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(Window(list), WM_LBUTTONUP, keys, at);
        if (twice)
            SendMessageA(Window(list), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    }
    void Enter(const char* list) { SendMessageA(Window(list), WM_KEYDOWN, VK_RETURN, 1); }
    Rows RowsOf(const char* list) {
        Rows rows;
        for (int i = 0; i < form.Get<ListBox>(list).ListCount(); ++i)
            rows.push_back(form.Get<ListBox>(list).List(i));
        return rows;
    }
    // What the status bar shows in a panel.
    std::string Shown(int panel) {
        char text[256] = "";
        SendMessageA(form.GetComponent<StatusBar>("StatusBarClutterwise")->ControlHwnd(),
                     SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Processes and checks each file's times against the clock around the run.
    void Process(const std::vector<std::pair<std::string, long long>>& offsets) {
        const long long before = LocalSecondsNow();
        Click("CommandProcess");
        const long long after = LocalSecondsNow();
        for (const auto& [name, offset] : offsets) {
            const FileStamps s = StampsOf(PathOf(name));
            EXPECT_GE(s.written, before + offset) << name;
            EXPECT_LE(s.written, after + offset) << name;
            EXPECT_EQ(s.accessed, s.written) << name;
            // Wine on Linux cannot set a creation time and reports the write time in its place.
            EXPECT_EQ(s.created, s.written) << name;
        }
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
    // Within one second the folder's order holds, even against the fractions of the second.
    Shortcut("Tie one.lnk", t);
    Shortcut("Tie two.lnk", t);
    Rows ties;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(PathOf("Tie*.lnk").c_str(), &found);
    do
        ties.emplace_back(found.cFileName, strlen(found.cFileName) - 4);
    while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_EQ(ties.size(), 2u);
    SetLocalStamp(PathOf(ties[0] + ".lnk"), t, 900);
    SetLocalStamp(PathOf(ties[1] + ".lnk"), t, 100);
    // A shortcut held open elsewhere keeps its place: its time comes from the folder's listing.
    const HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    Open();
    CloseHandle(hold);
    EXPECT_EQ(RowsOf(kCurrent), (Rows{"Locked", "Straße", "A.B", ties[0], ties[1], "Late"}));
    EXPECT_EQ(Shown(0), "6 current items / 0 selected ");
}

TEST_F(MainWindowItems, MovesRowsBothWaysAndRefreshStartsAgain) {
    const long long t = LocalSecondsNow() - 86400;
    const Rows names{"R0", "R1", "日本語", "R3", "R4"};
    for (size_t i = 0; i < names.size(); ++i)
        Shortcut(names[i] + ".lnk", t + static_cast<long long>(i));
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

    // "<<" puts a row at the bottom of the current list, not back in its place by date.
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

    ClickRow(kNew, 2, 0, true);
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

TEST_F(MainWindowItems, ProcessesOneMinuteApartAndReportsWhatItCannotStamp) {
    long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"A", "B", "C", "D", "E"})
        Shortcut(std::string(name) + ".lnk", t++);
    Shortcut("A.pif", t);
    Shortcut("C.pif", t);
    Open();
    MoveAll();
    ASSERT_EQ(RowsOf(kNew), (Rows{"A", "B", "C", "D", "E"}));
    // Gone since the scan: B altogether (reported, its row still counts), C but for its ".pif".
    DeleteFileA(PathOf("B.lnk").c_str());
    DeleteFileA(PathOf("C.lnk").c_str());
    // D is held open by another program that lets others read it but not write to it.
    const HANDLE hold = CreateFileA(PathOf("D.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    const ShellDesktop shell;
    std::vector<std::pair<std::string, int>> seen; // panel 2 and the pointer at each box
    const BoxWatch watch([&] { seen.emplace_back(Shown(2), form.MousePointer()); });

    Process({{"A.lnk", 0}, {"A.pif", 0}, {"C.pif", 120}, {"E.lnk", 240}});
    CloseHandle(hold);
    EXPECT_EQ(StampsOf(PathOf("B.lnk")).written, -1);
    EXPECT_EQ(StampsOf(PathOf("D.lnk")).written, t - 2);
    ASSERT_EQ(answerer.Boxes().size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(answerer.Boxes()[i].text,
                  "Error accessing " + PathOf("BCD"[i] + std::string(".lnk")));
        EXPECT_EQ(answerer.Boxes()[i].icon, BoxIcon::Exclamation);
    }
    EXPECT_EQ(answerer.Boxes()[3].text, kFinal);
    EXPECT_EQ(answerer.Boxes()[3].icon, BoxIcon::Information);
    EXPECT_EQ(answerer.Boxes()[3].title, "Norvanta Clutterwise");
    const std::pair<std::string, int> busy{"Processing items...", kPointerHourglass};
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{
                        busy, busy, busy, {"", kPointerHourglass}}));
    EXPECT_EQ(ShellDesktop::arranged, 1);
    // Nothing is rescanned: the lists stay as they are and may be processed again.
    EXPECT_EQ(RowsOf(kNew), (Rows{"A", "B", "C", "D", "E"}));
    EXPECT_TRUE(Enabled("CommandProcess"));
    EXPECT_EQ(form.MousePointer(), kPointerDefault);

    Click("OptionMethodDescending");
    Process({{"A.lnk", 0}, {"A.pif", 0}, {"C.pif", -120}, {"D.lnk", -180}, {"E.lnk", -240}});
    EXPECT_EQ(answerer.Boxes().size(), 7u);
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
    MoveAll();
    Click("CommandProcess");
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].text, "Error accessing " + file);
}

// Offsets of 60 s x row outgrow 16 bits from row 547 on.
TEST_F(MainWindowItems, ProcessesSixHundredRows) {
    const long long t = LocalSecondsNow() - 86400;
    for (int i = 0; i < 600; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.lnk", i);
        Shortcut(name, t + i);
    }
    Open();
    MoveAll();
    ASSERT_EQ(form.Get<ListBox>(kNew).ListCount(), 600);
    Process({{"000.lnk", 0}, {"546.lnk", 546 * 60}, {"547.lnk", 547 * 60}, {"599.lnk", 599 * 60}});
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, kFinal);
}
