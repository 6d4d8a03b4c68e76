// A user arranges the new order of the real program with the real keyboard and mouse (xdotool on
// the test's display), then processes it: the files are stamped in the arranged order. Run again
// at 144 dpi by test_scale_144dpi, and at 192 on a 1280 x 1024 screen by test_scale_192dpi.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"
#include "UnixPath.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>

using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;

// Real keyboard and mouse input goes through xdotool on the test's display: it reaches the
// program as a user's does (focus, capture, key state), which posted messages do not.
constexpr const char* kXdotool = "Z:\\usr\\bin\\xdotool";

// Every step waits for the state it needs, however loaded the machine: this long at most.
constexpr DWORD kPatienceMs = 120000;

bool Eventually(const std::function<bool()>& done) {
    return WaitUntil(done, kPatienceMs);
}

// Runs one xdotool command line and returns once it has sent everything (false when it failed).
// Wine starts a Linux program but cannot wait for it: the shell that runs xdotool writes its exit
// status into a file of ours, and we wait for that.
bool Xdotool(const std::string& arguments) {
    static const TempFolder folder;
    const std::string status = folder / "xdotool.status";
    DeleteFileA(status.c_str());
    if (!StartLinuxProgram("Z:\\bin\\sh", "/bin/sh -c \"xdotool " + arguments + "; echo $? > '" +
                                              UnixPathOf(status) + "'\""))
        return false;
    int code = -1;
    return Eventually([&] { return static_cast<bool>(std::ifstream(status) >> code); }) &&
           code == 0;
}

// A press within the double-click time of a click at its place is a double click, which starts
// no drag: a drag after a selecting click waits that long once the click has done its work.
void AfterDoubleClickTime(ULONGLONG clicked) {
    const ULONGLONG until = clicked + GetDoubleClickTime() + 1;
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64())
        Sleep(static_cast<DWORD>(until - now));
}

// " mousemove x y " to a list row, `quarters` quarters of its height down from its top.
std::string ToRow(HWND list, int row, int quarters = 2) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 20, r.top + (r.bottom - r.top) * quarters / 4};
    ClientToScreen(list, &p);
    return " mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " ";
}

// Whether the drag's insertion line shows along the boundary above row `at`.
bool LineShown(HWND list, int at) {
    RECT row{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&row));
    POINT line{20, row.top};
    ClientToScreen(list, &line);
    const HDC screen = GetDC(nullptr);
    const bool shown = GetPixel(screen, line.x, line.y) == GetSysColor(COLOR_WINDOWTEXT);
    ReleaseDC(nullptr, screen);
    return shown;
}

// The window holding the mouse in `window`'s thread: a press holds it until its release.
HWND Capture(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndCapture
                                                                              : nullptr;
}

// A status bar part's text, read in the program's own memory: a pointer does not cross processes.
std::string StatusText(HWND bar, int part) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
    void* remote = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote));
    wchar_t wide[1024] = L"";
    ReadProcessMemory(process, remote, wide, sizeof wide - sizeof *wide, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    char text[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

Texts Join(Texts head, const Texts& rest) {
    head.insert(head.end(), rest.begin(), rest.end());
    return head;
}

} // namespace

TEST(ProgramReorder, ArrangedByRealKeysAndDragsThenStampedInThatOrder) {
    if (GetFileAttributesA(kXdotool) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "xdotool is not installed (scripts/setup.sh installs it)";
    // Oldest first: three Unicode names, then Row 03 to Row 29: more rows than the list shows.
    const TempFolder desktop;
    Texts names = {"Straße", "日本語", "Écho"};
    for (int i = 3; i < 30; ++i)
        names.push_back((i < 10 ? "Row 0" : "Row ") + std::to_string(i));
    for (size_t i = 0; i < names.size(); ++i)
        SetLocalStamp(desktop.MakeFile(names[i] + ".lnk", "shortcut"),
                      LocalSecondsNow() - 86400 + static_cast<long long>(i) * 60);
    const DesktopRedirect redirect(desktop.Path());
    // The size an earlier start kept would stand in for the design's.
    if (const char* data = std::getenv("LOCALAPPDATA"))
        DeleteFileA((std::string(data) + "\\Norvanta\\Clutterwise\\window.txt").c_str());
    AppDriver program;
    const HWND main = program.WaitForWindow("Norvanta Clutterwise");
    ASSERT_TRUE(main);
    // At the screen's scale (test_scale_144dpi runs this at 144 dpi, test_scale_192dpi at 192 on
    // 1280 x 1024 pixels): the window is the design's size in twips, narrowed to fit the work area,
    // the header strip 945 twips high; the window and its buttons (frames, options) on the screen.
    const int dpi = static_cast<int>(GetDpiForWindow(main));
    if (const char* expected = std::getenv("CLUTTERWISE_EXPECT_DPI"))
        ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix runs at another scale";
    RECT client{}, strip{}, frame{}, work{}, r{};
    GetClientRect(main, &client);
    GetWindowRect(main, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetClientRect(Child(main, "ClutterwiseComponent", "InfoFrameClutterwise"), &strip);
    const double room = work.right - work.left - (frame.right - frame.left - client.right);
    EXPECT_NEAR(client.right, std::min(10815 * dpi / 1440.0, room), 1);
    EXPECT_NEAR(client.bottom, 6300 * dpi / 1440.0, 1);
    EXPECT_NEAR(strip.bottom, 945 * dpi / 1440.0, 0.5);
    const auto onScreen = [&](const RECT& r) {
        RECT in{};
        return IntersectRect(&in, &r, &work) && EqualRect(&in, &r);
    };
    EXPECT_TRUE(onScreen(frame));
    for (const HWND button : Children(main, "Button"))
        EXPECT_TRUE(GetWindowRect(button, &r) && onScreen(r)) << TextOf(button);
    const std::vector<HWND> lists = ListsLeftToRight(main);
    ASSERT_EQ(lists.size(), 2u);
    const HWND current = lists[0], added = lists[1];
    const auto top = [&] { return static_cast<int>(SendMessageA(added, LB_GETTOPINDEX, 0, 0)); };
    const HWND bar = Children(main, STATUSCLASSNAMEA).at(0);
    // Every row into the new order, the last two back (posted: not what is tested here).
    ClickButton(main, "Select All");
    ClickButton(main, ">>");
    ASSERT_TRUE(Eventually([&] { return Rows(added) == names; }));
    // Selected by message: a posted click lands on whatever row shows at its place, and which rows
    // show depends on how far the list has scrolled by then.
    SendMessageA(added, LB_SETSEL, FALSE, -1);
    SendMessageA(added, LB_SELITEMRANGE, TRUE, MAKELPARAM(28, 29));
    PostMessageA(added, WM_KEYDOWN, VK_RETURN, 0); // Enter: as "<<"
    ASSERT_TRUE(Eventually([&] { return Rows(current) == Texts{"Row 28", "Row 29"}; }));
    SendMessageA(added, LB_SETTOPINDEX, 0, 0);
    const Texts block = {"日本語", "Straße", "Écho"}, tail(names.begin() + 3, names.end() - 2);
    const auto expect = [&](const Texts& rows, const std::vector<int>& selected, int caret) {
        EXPECT_TRUE(Eventually([&] { return Rows(added) == rows; }));
        EXPECT_EQ(SelectedRows(added), selected);
        EXPECT_EQ(SendMessageA(added, LB_GETCARETINDEX, 0, 0), caret);
    };

    // A real click selects 日本語 and focuses the list; Alt+arrows move it; a block made by a
    // click and a Shift+click goes to the bottom with Alt+End, scrolled into view, and back with
    // Alt+Home.
    ASSERT_TRUE(Xdotool(ToRow(added, 1) + "click 1 key alt+Down"));
    expect(Join({"Straße", "Écho", "日本語"}, tail), {2}, 2);
    ASSERT_TRUE(Xdotool("key alt+Up key alt+Up"));
    expect(Join(block, tail), {0}, 0);
    ASSERT_TRUE(Xdotool(ToRow(added, 2) + "click 1 keydown shift" + ToRow(added, 0) +
                        "click 1 keyup shift key alt+End"));
    expect(Join(tail, block), {25, 26, 27}, 25); // the caret stays on the block's first row
    EXPECT_GT(top(), 0);
    ASSERT_TRUE(Xdotool("key alt+Home"));
    expect(Join(block, tail), {0, 1, 2}, 0);
    EXPECT_EQ(top(), 0);
    ASSERT_TRUE(Xdotool("key ctrl+a"));
    EXPECT_TRUE(Eventually([&] { return StatusText(bar, 1) == "28 new items / 28 selected "; }));

    // A click on one of the selected rows is still a click; then that row is dragged: a line
    // marks the place, the list scrolls while the pointer is held near its bottom edge, and the
    // row lands there. Escape cancels another drag.
    ASSERT_TRUE(Xdotool(ToRow(added, 0) + "click 1"));
    const ULONGLONG clicked = GetTickCount64();
    EXPECT_TRUE(Eventually([&] { return SelectedRows(added) == std::vector<int>{0}; }));
    AfterDoubleClickTime(clicked);
    ASSERT_TRUE(Xdotool("mousedown 1" + ToRow(added, 1) + ToRow(added, 3, 3)));
    EXPECT_TRUE(Eventually([&] { return LineShown(added, 4); }));
    // Held near the bottom edge until the list has scrolled to its end.
    RECT list{}, last{}, inside{};
    GetWindowRect(added, &list);
    GetClientRect(added, &inside);
    POINT edge{20, 0};
    ClientToScreen(added, &edge);
    ASSERT_TRUE(
        Xdotool("mousemove " + std::to_string(edge.x) + " " + std::to_string(list.bottom - 8)));
    EXPECT_TRUE(Eventually([&] {
        SendMessageA(added, LB_GETITEMRECT, static_cast<WPARAM>(Rows(added).size() - 1),
                     reinterpret_cast<LPARAM>(&last));
        return top() > 0 && last.bottom <= inside.bottom;
    }));
    ASSERT_TRUE(Xdotool("mouseup 1"));
    Texts order = Join(block, tail);
    EXPECT_TRUE(Eventually([&] { return Rows(added) != order; }));
    const Texts dropped = Rows(added);
    const auto landed =
        static_cast<int>(std::find(dropped.begin(), dropped.end(), "日本語") - dropped.begin());
    EXPECT_GT(top(), 0);
    EXPECT_GT(landed, 20); // below the rows the list showed before it scrolled
    order.erase(order.begin());
    order.insert(order.begin() + landed, "日本語");
    EXPECT_EQ(dropped, order);
    ASSERT_TRUE(Xdotool(ToRow(added, landed) + "mousedown 1" + ToRow(added, landed - 3)));
    EXPECT_TRUE(Eventually([&] { return Capture(added) == added; }));
    ASSERT_TRUE(Xdotool("key Escape mouseup 1"));
    EXPECT_TRUE(Eventually([&] { return Capture(added) == nullptr; }));
    EXPECT_EQ(Rows(added), order);

    // Ctrl+A in the current order, and both rows dragged in together, inserted where dropped;
    // the status bar and Process follow.
    SendMessageA(added, LB_SETTOPINDEX, 0, 0);
    // Far from the last press, in another list: no double click.
    ASSERT_TRUE(Xdotool(ToRow(current, 0) + "click 1 key ctrl+a"));
    const ULONGLONG selectedAll = GetTickCount64();
    EXPECT_TRUE(Eventually([&] { return StatusText(bar, 0) == "2 current items / 2 selected "; }));
    AfterDoubleClickTime(selectedAll);
    ASSERT_TRUE(Xdotool("mousedown 1" + ToRow(current, 0, 4) + ToRow(added, 1, 1)));
    EXPECT_TRUE(Eventually([&] { return LineShown(added, 1); }));
    ASSERT_TRUE(Xdotool("mouseup 1"));
    order.insert(order.begin() + 1, {"Row 28", "Row 29"});
    const HWND process = Child(main, "Button", "Process");
    EXPECT_TRUE(Eventually([&] {
        return Rows(added) == order && IsWindowEnabled(process) &&
               StatusText(bar, 0) == "0 current items / 0 selected " &&
               StatusText(bar, 1) == "30 new items / 1 selected ";
    }));

    // Processed Ascending: the files' times follow the arranged order.
    ClickButton(main, "Process");
    ASSERT_TRUE(program.AnswerMessageBox());
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(StampsOf(desktop / (order[i - 1] + ".lnk")).written,
                  StampsOf(desktop / (order[i] + ".lnk")).written)
            << order[i - 1] << " before " << order[i];
}
