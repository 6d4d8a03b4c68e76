// bench_program --app=<clutterwise.exe> --bare=<bench_bare.exe> --root=<folder> --csv=<file>
//               [--sizes=1000,10000,20000,30000] [--repeat=3]
//
// Times the real program as a user meets it: clutterwise.exe started as its own process on a
// whole desktop of N shortcuts (half on the user's desktop, half on the desktop of all users, a
// few of them Internet shortcuts), visible, driven only through its windows (buttons pressed and
// rows clicked by messages, lists and pixels read back), against bare processes that do the least
// the same work can cost over both folders (bench_bare), measured in the same run:
//   start               from the process's start until its visible window lists every row and
//                       its message loop answers (ready); against "bare list" (enumerate, sort by
//                       the find data's time, a visible window with a filled list box) and "bare
//                       read" (enumerate, open each file, read its time, end)
//   icons visible       from ready until every row both lists show (whose icon's place is shown
//                       whole) has its icon in place of the placeholder, read from the screen
//   ui wait while       the longest a message sent to the main window waited for its answer, sent
//   icons load          one after another from ready until kIconsWatchMs after the visible icons,
//                       while the other rows' icons load (which takes longer at every size)
//   every other row >>  every other row of the full current list moved to the new order
//   select all + >>     "Select All" then ">>" on the full current list
//   one row <<          one row from the middle of the full new order moved back
//   alt+up, alt+down,   the keyboard's block moves and a drag to the top, each with every other
//   alt+home, alt+end,  row of the full new order selected (n/2 rows), until the moved rows are
//   drag to the top     selected and painted; against "every other row >>"
//   process             "Process" until its closing box; against "bare stamp" (open each shortcut,
//                       set its time; the work alone, without process start)
//   refresh             "Refresh" after processing: the desktop scanned and listed again
//   reapply             one shortcut from the middle of the order re-stamped to now, then
//                       "Reapply Order" until its closing box; against "refresh"
//   reapply nothing     "Reapply Order" again, until "already in your order"; against "refresh"
//   moved
//   peak working set    the program's, at the end of its run, once it is idle: the icons of every
//                       row looked up (at most kIdlePatienceMs after the last step); against the
//                       bare list's
// A move ends when both lists hold their new counts and the window has painted them. Per size,
// the best and the median of --repeat runs, the median of the per-run ratios and the ratio of the
// bests (noise on a shared machine only adds time, so the bests are the steadier). The shortcut
// files are made once per size in <root>\<N>\ and re-stamped before each run; the prefix's two
// desktops are pointed at them for the program's run and put back afterwards.
#include "app/FinalBox.h"
#include "BenchShortcuts.h"
#include "DesktopRedirect.h"
#include "MessageBoxAnswerer.h" // IsMessageBox, ReadMessageBox
#include "ProcessWindows.h"
#include "win32/FileTime.h"
#include "win32/Handles.h"

#include <windows.h>

#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using cwbench::Seconds;

constexpr DWORD kPatienceMs = 180000;     // a step that takes longer has failed
constexpr DWORD kIconsWatchMs = 3000;     // the UI is watched this long after the visible icons
constexpr DWORD kIdlePatienceMs = 240000; // for the icon lookups of every row to end

using cwtest::Children;
using cwtest::WindowsPathOf;

bool WaitUntil(const std::function<bool()>& done) {
    return cwtest::WaitUntil(done, kPatienceMs, 1);
}

// Thrown, so that the program is closed and the desktops are put back on the way out.
[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what);
}

std::string WithBackslash(std::string folder) {
    return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

// A process of the benchmark's: the program or a bare process, ended at the latest with the
// object. Its standard output is kept when asked for.
class Child {
public:
    explicit Child(std::string commandLine, bool captureOutput = false) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        HANDLE write = nullptr;
        if (captureOutput) {
            SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
            if (!CreatePipe(&output_, &write, &inherit, 0))
                Fail("cannot make a pipe");
            SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = write;
            startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
            startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        }
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, captureOutput, 0,
                            nullptr, nullptr, &startup, &process_))
            Fail("cannot start " + commandLine);
        if (write)
            CloseHandle(write);
    }
    ~Child() {
        Close();
        if (output_)
            CloseHandle(output_);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Exited(DWORD timeoutMs = 0) const {
        return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }
    void Close() {
        if (Exited())
            return;
        for (HWND window : Windows())
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (!Exited(10000))
            TerminateProcess(process_.hProcess, 1);
        Exited(INFINITE);
    }
    // Its visible top-level windows, message boxes included.
    std::vector<HWND> Windows() const { return cwtest::VisibleWindowsOf(process_.dwProcessId); }
    std::string Output() const {
        std::string text;
        char buffer[256];
        DWORD got = 0;
        while (output_ && ReadFile(output_, buffer, sizeof buffer, &got, nullptr) && got > 0)
            text.append(buffer, got);
        return text;
    }
    double PeakWorkingSetMB() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process_.hProcess, &counters, sizeof counters))
            return 0;
        return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }
    // Waits until the process is idle: its processor time stands still for a second. False when
    // it is still busy after `timeoutMs`.
    bool WaitIdle(DWORD timeoutMs) const {
        const double end = Seconds() + timeoutMs / 1000.0;
        int still = 0;
        for (double was = ProcessorSeconds(); still < 2 && Seconds() < end;) {
            Sleep(500);
            const double now = ProcessorSeconds();
            still = now - was < 0.005 ? still + 1 : 0;
            was = now;
        }
        return still == 2;
    }

private:
    double ProcessorSeconds() const {
        FILETIME created, ended, kernel, user;
        if (!GetProcessTimes(process_.hProcess, &created, &ended, &kernel, &user))
            return 0;
        return static_cast<double>(cw::TicksOf(kernel) + cw::TicksOf(user)) / 1e7;
    }

    PROCESS_INFORMATION process_{};
    HANDLE output_ = nullptr;
};

// Answered once the window's thread takes messages again: a busy program answers late.
LRESULT Ask(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL, kPatienceMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

int Count(HWND list) {
    return static_cast<int>(Ask(list, LB_GETCOUNT));
}

// The visible top-level window of `child` whose list box holds `rows` rows, once its thread
// answers; nullptr when the process ends first.
HWND WaitForListing(const Child& child, int rows) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : child.Windows())
            for (HWND list : Children(window, "ListBox"))
                if (Count(list) == rows)
                    found = window;
        return found || child.Exited();
    });
    return found;
}

// What is left to paint, painted before the clock stops.
void Painted(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Press(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void ClickRow(HWND list, int row, WPARAM keys = 0) {
    RECT r{};
    Ask(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    PostMessageA(list, WM_LBUTTONUP, keys, at);
}

// Figures of one size: every run's value of each measure.
using Runs = std::map<std::string, std::vector<double>>;

// Whether every row `list` shows has its icon, read from the screen as the user sees it. A row
// whose icon is not known yet shows a placeholder: an empty square in the row's quiet colour on
// its background (the window's colours, or the highlight's on a selected row). A row shows its
// icon when the pixel just left of its icon square is its background (the row is drawn) and its
// icon square, wholly in view, holds a pixel of any other colour.
bool IconsShown(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    const int width = client.right, height = client.bottom;
    const auto rows = static_cast<int>(Ask(list, LB_GETCOUNT)),
               top = static_cast<int>(Ask(list, LB_GETTOPINDEX)),
               rowHeight = static_cast<int>(Ask(list, LB_GETITEMHEIGHT));
    if (rows <= 0 || width <= 0 || height <= 0 || rowHeight <= 0)
        return true;
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    const cw::ClientDC screen(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const cw::GdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HDC copy = CreateCompatibleDC(screen.Get());
    const HGDIOBJ was = SelectObject(copy, bitmap.Get());
    BitBlt(copy, 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY);
    SelectObject(copy, was);
    DeleteDC(copy);
    // The row's icon square: 16 pixels at 96 dpi, 2 from its left, centred in its height.
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    const int size = MulDiv(16, dpi, 96), left = MulDiv(2, dpi, 96);
    std::vector<DWORD> plain; // backgrounds first, as the DIB holds them: 0x00RRGGBB
    for (const int colour : {COLOR_WINDOW, COLOR_HIGHLIGHT, COLOR_GRAYTEXT, COLOR_HIGHLIGHTTEXT}) {
        const COLORREF c = GetSysColor(colour);
        plain.push_back((DWORD{GetRValue(c)} << 16) | (DWORD{GetGValue(c)} << 8) | GetBValue(c));
    }
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int row = 0; top + row < rows; ++row) {
        const int y0 = row * rowHeight + (rowHeight - size) / 2;
        if (y0 + size > height)
            break;
        const DWORD beside = pixels[(y0 + size / 2) * width + left - 1] & 0xFFFFFF;
        if (beside != plain[0] && beside != plain[1])
            return false;
        bool icon = false;
        for (int y = y0; y < y0 + size && !icon; ++y)
            for (int x = left; x < left + size && x < width && !icon; ++x)
                icon = std::find(plain.begin(), plain.end(), pixels[y * width + x] & 0xFFFFFF) ==
                       plain.end();
        if (!icon)
            return false;
    }
    return true;
}

// Sends `window` one message after another from its own thread and keeps the longest wait for
// an answer: the longest message the window's thread handled meanwhile.
class Pinger {
public:
    explicit Pinger(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const double start = Seconds();
                  Ask(window, WM_NULL);
                  worst_ = std::max(worst_.load(), Seconds() - start);
                  Sleep(1);
              }
          }) {}
    ~Pinger() { Stop(); }
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;

    // The longest wait, in seconds.
    double Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return worst_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> worst_{0};
    std::thread thread_;
};

// Waits for the closing box of a run begun at `start`, answering the boxes before it as a user
// would (OK; No to a question), and records the time to it when its text begins with one of
// `done`. The boxes before it, and a closing box that says anything else, are told as errors.
void AwaitClosingBox(const Child& program, double start, const char* measure,
                     std::initializer_list<const char*> done, Runs& runs) {
    int errors = 0;
    std::string first;
    for (bool closing = false; !closing;) {
        HWND box = nullptr;
        if (!WaitUntil([&] {
                for (HWND window : program.Windows())
                    if (cwtest::IsMessageBox(window) || cwtest::IsMessageBox(window, true))
                        box = window;
                return box != nullptr;
            }))
            Fail(std::string(measure) + " showed no closing box");
        const double end = Seconds();
        const cwtest::AnsweredBox read = cwtest::ReadMessageBox(box);
        const bool question = cwtest::IsMessageBox(box, true);
        const bool success = std::any_of(done.begin(), done.end(), [&](const char* text) {
            return read.text.rfind(text, 0) == 0;
        });
        closing = success || (!question && read.icon == cwtest::BoxIcon::Information);
        if (success)
            runs[measure].push_back(end - start);
        else if (++errors == 1)
            first = read.text;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(question ? IDNO : IDOK, BN_CLICKED), 0);
        WaitUntil([&] { return !IsWindow(box); });
    }
    if (errors)
        std::printf("  %s: %d boxes other than the closing one, the first: %s\n", measure, errors,
                    first.c_str());
}

// The file of row `row` of `list`, a shortcut of `desktop` by its title.
std::string FileOfRow(HWND list, int row, const cwbench::Desktop& desktop) {
    wchar_t text[256] = L"";
    if (Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(row)) < 255)
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    int i = -1;
    if (std::swscanf(text, L"Shortcut %d", &i) != 1 || i < 0)
        Fail("a row that names no shortcut of the benchmark's");
    return cwbench::ShortcutFileOf(i, desktop).PathIn(desktop);
}

// Gives a file the time now, as a program that saves it again does.
void Touch(const std::string& path) {
    const cw::KernelHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    if (!file || !SetFileTime(file.Get(), nullptr, &now, &now))
        Fail("cannot re-stamp " + path);
}

// The program's run: start, icons, moves, processing, refresh, reapply; each figure into `runs`.
void RunProgram(const std::string& app, const cwbench::Desktop& desktop, int n, Runs& runs) {
    double start = Seconds();
    Child program("\"" + app + "\"");
    const HWND main = WaitForListing(program, n);
    if (!main)
        Fail("the program did not list " + std::to_string(n) + " rows");
    const double ready = Seconds();
    runs["start"].push_back(ready - start);

    const std::vector<HWND> lists = cwtest::ListsLeftToRight(main);
    if (lists.size() != 2)
        Fail("the program's window has no two lists");
    const HWND current = lists[0], added = lists[1];
    const auto button = [&](const char* caption) {
        const auto found = Children(main, "Button", caption);
        if (found.size() != 1)
            Fail(std::string("no button ") + caption);
        return found[0];
    };
    const HWND add = button(">>"), remove = button("<<"), selectAll = button("Select All"),
               refresh = button("Refresh"), process = button("Process"),
               ascending = button("Ascending"), reapply = button("Reapply Order");
    // Times `action` until both lists hold their counts and the window has painted them.
    const auto timed = [&](const char* measure, const std::function<void()>& action,
                           int currentRows, int addedRows) {
        const double t = Seconds();
        action();
        if (!WaitUntil([&] { return Count(current) == currentRows && Count(added) == addedRows; }))
            Fail(std::string(measure) + " did not end");
        Painted(main);
        runs[measure].push_back(Seconds() - t);
    };

    // The icons of the rows in view, and how long the window keeps a message waiting while the
    // icons load.
    {
        Pinger pinger(main);
        if (WaitUntil([&] { return IconsShown(current) && IconsShown(added); }))
            runs["icons visible"].push_back(Seconds() - ready);
        else
            std::printf("  rows in view still show the placeholder\n");
        Sleep(kIconsWatchMs); // the other rows' icons load meanwhile
        runs["ui wait while icons load"].push_back(1000 * pinger.Stop());
    }

    // Every other row, selected as by Ctrl+clicks: the rows by message, the last by a click, so
    // that the window hears of the selection.
    for (int row = 2; row < n; row += 2)
        Ask(current, LB_SETSEL, TRUE, row);
    Ask(current, LB_SETTOPINDEX, 0); // each selection scrolled to its row
    ClickRow(current, 0, MK_CONTROL);
    const int half = (n + 1) / 2;
    if (!WaitUntil([&] { return Ask(current, LB_GETSELCOUNT) == half && IsWindowEnabled(add); }))
        Fail("every other row was not selected");
    timed(
        "every other row >>", [&] { Press(add); }, n - half, half);

    Press(refresh);
    if (!WaitUntil([&] { return Count(current) == n && Count(added) == 0; }))
        Fail("refresh did not end");
    timed(
        "select all + >>",
        [&] {
            Press(selectAll);
            Press(add);
        },
        0, n);

    // Block moves in the new order, every other row selected (the odd ones): Alt+Up takes them
    // to the even rows, Alt+Down back, Alt+Home gathers them at the top; then, every other row
    // selected again, Alt+End gathers them at the bottom and a drag of them to the top.
    const int odd = n / 2;
    const auto selectOdd = [&] {
        Ask(added, LB_SETSEL, FALSE, -1);
        for (int row = 1; row < n; row += 2)
            Ask(added, LB_SETSEL, TRUE, row);
        Ask(added, LB_SETTOPINDEX, 0);
    };
    const auto selected = [&](int row) { return Ask(added, LB_GETSEL, row) > 0; };
    // Ends once the rows the move selects are selected and painted.
    const auto moved = [&](const char* measure, const std::function<void()>& action,
                           const std::function<bool()>& done) {
        const double t = Seconds();
        action();
        if (!WaitUntil(done))
            Fail(std::string(measure) + " did not end");
        Painted(main);
        runs[measure].push_back(Seconds() - t);
    };
    const auto altKey = [&](WPARAM key) {
        PostMessageA(added, WM_SYSKEYDOWN, key, 1 | (KF_ALTDOWN << 16));
    };
    const auto evenRows = [&] { return selected(0) && !selected(1) && selected(2 * odd - 2); };
    const auto oddRows = [&] { return !selected(0) && selected(1) && selected(2 * odd - 1); };
    const auto topBlock = [&] {
        return selected(0) && selected(odd - 1) && !selected(odd) && !selected(n - 1);
    };
    selectOdd();
    moved(
        "alt+up", [&] { altKey(VK_UP); }, evenRows);
    moved(
        "alt+down", [&] { altKey(VK_DOWN); }, oddRows);
    moved(
        "alt+home", [&] { altKey(VK_HOME); }, topBlock);
    selectOdd();
    moved(
        "alt+end", [&] { altKey(VK_END); },
        [&] { return !selected(0) && selected(n - odd) && selected(n - 1); });
    selectOdd();
    moved(
        "drag to the top",
        [&] {
            RECT r{};
            Ask(added, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
            const int x = (r.left + r.right) / 2, height = r.bottom - r.top;
            PostMessageA(added, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, r.top + height / 2));
            PostMessageA(added, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, r.top + 3 * height));
            PostMessageA(added, WM_LBUTTONUP, 0, MAKELPARAM(x, 1));
        },
        topBlock);
    Ask(added, LB_SETSEL, FALSE, -1);

    Ask(added, LB_SETTOPINDEX, static_cast<WPARAM>(n / 2));
    ClickRow(added, n / 2);
    if (!WaitUntil([&] { return Ask(added, LB_GETSELCOUNT) == 1 && IsWindowEnabled(remove); }))
        Fail("no row of the new order was selected");
    timed(
        "one row <<", [&] { Press(remove); }, 1, n - 1);
    Press(selectAll);
    Press(add);
    if (!WaitUntil([&] { return Count(added) == n && IsWindowEnabled(process); }))
        Fail("the new order was not completed");

    Press(ascending);
    start = Seconds();
    Press(process);
    const auto sorted = {cw::kDesktopShowsOrder, cw::kSortByDateByHand};
    AwaitClosingBox(program, start, "process", sorted, runs);

    // One shortcut from the middle of the order re-stamped to now, out of place; the program's
    // own scan, then Reapply Order, then Reapply Order with nothing out of place.
    Touch(FileOfRow(added, n / 2, desktop));
    timed(
        "refresh", [&] { Press(refresh); }, n, 0);
    start = Seconds();
    Press(reapply);
    AwaitClosingBox(program, start, "reapply", sorted, runs);
    start = Seconds();
    Press(reapply);
    AwaitClosingBox(program, start, "reapply nothing moved", {cw::kAlreadyInOrder}, runs);

    if (!program.WaitIdle(kIdlePatienceMs))
        std::printf("  the icon lookups were still going at the end\n");
    runs["peak working set"].push_back(program.PeakWorkingSetMB());
}

// Shortcuts as the shell writes them: links to the system's programs in turn, each with an icon
// of its own; Internet shortcuts with an icon file, as launchers write them.
class ShortcutBodies {
public:
    ShortcutBodies() {
        char system[MAX_PATH] = "";
        GetSystemDirectoryA(system, MAX_PATH);
        for (const char* program :
             {"notepad", "winecfg", "winemine", "taskmgr", "winefile", "clock", "control", "cmd"})
            links_.push_back(LinkTo(std::string(system) + "\\" + program + ".exe"));
        iconFile_ = std::string(system) + "\\iexplore.exe";
    }

    std::string operator()(const cwbench::ShortcutFile& file, int i) const {
        if (file.internet)
            return "[InternetShortcut]\r\nURL=https://example.com/" + std::to_string(i) +
                   "\r\nIconIndex=0\r\nIconFile=" + iconFile_ + "\r\n";
        return links_[static_cast<size_t>(i) % links_.size()];
    }

private:
    static std::string LinkTo(const std::string& target) {
        cw::ComRef<IShellLinkA> link;
        cw::ComRef<IPersistStream> persist;
        cw::ComRef<IStream> stream;
        HGLOBAL memory = nullptr;
        ULARGE_INTEGER size{};
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(link.Put()))) ||
            FAILED(link->SetPath(target.c_str())) ||
            FAILED(link->QueryInterface(IID_IPersistStream,
                                        reinterpret_cast<void**>(persist.Put()))) ||
            FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) ||
            FAILED(persist->Save(stream.Get(), TRUE)) ||
            FAILED(stream->Seek({}, STREAM_SEEK_CUR, &size)) ||
            FAILED(GetHGlobalFromStream(stream.Get(), &memory)))
            Fail("cannot make a link to " + target);
        const std::string bytes(static_cast<const char*>(GlobalLock(memory)),
                                static_cast<size_t>(size.QuadPart));
        GlobalUnlock(memory);
        return bytes;
    }

    std::vector<std::string> links_;
    std::string iconFile_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t m = values.size() / 2;
    return values.size() % 2 ? values[m] : (values[m - 1] + values[m]) / 2;
}

struct Options {
    std::string app, bare, root, csv;
    std::vector<int> sizes{1000, 10000, 20000, 30000};
    int repeat = 3;
};

Options ReadOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t equals = arg.find('=');
        const std::string key = arg.substr(0, equals),
                          value = equals == std::string::npos ? "" : arg.substr(equals + 1);
        if (key == "--app")
            o.app = WindowsPathOf(value);
        else if (key == "--bare")
            o.bare = WindowsPathOf(value);
        else if (key == "--root")
            o.root = WithBackslash(WindowsPathOf(value));
        else if (key == "--csv")
            o.csv = WindowsPathOf(value);
        else if (key == "--repeat")
            o.repeat = std::max(1, std::atoi(value.c_str()));
        else if (key == "--sizes") {
            o.sizes.clear();
            std::stringstream list(value);
            for (std::string size; std::getline(list, size, ',');)
                if (const int n = std::atoi(size.c_str()); n > 1 && n <= 32767)
                    o.sizes.push_back(n);
        } else
            Fail("unknown argument " + arg);
    }
    if (o.app.empty() || o.bare.empty() || o.root.empty() || o.csv.empty())
        Fail("usage: bench_program --app=<exe> --bare=<exe> --root=<folder> --csv=<file> "
             "[--sizes=1000,10000,20000,30000] [--repeat=3]");
    return o;
}

// One line of the table and of the CSV: a measure's best and median and, against a baseline,
// the median of the per-run ratios.
struct Line {
    const char* measure;
    const char* unit;
    const char* baseline; // nullptr: absolute
};

constexpr Line kLines[] = {
    {"start", "s", "bare list"},
    {"start", "s", "bare read"},
    {"bare list", "s", nullptr},
    {"bare read", "s", nullptr},
    {"icons visible", "s", nullptr},
    {"ui wait while icons load", "ms", nullptr},
    {"select all + >>", "s", nullptr},
    {"every other row >>", "s", nullptr},
    {"one row <<", "s", nullptr},
    {"alt+up", "s", "every other row >>"},
    {"alt+down", "s", "every other row >>"},
    {"alt+home", "s", "every other row >>"},
    {"alt+end", "s", "every other row >>"},
    {"drag to the top", "s", "every other row >>"},
    {"process", "s", "bare stamp"},
    {"bare stamp", "s", nullptr},
    {"refresh", "s", nullptr},
    {"reapply", "s", "refresh"},
    {"reapply nothing moved", "s", "refresh"},
    {"peak working set", "MB", "bare list working set"},
    {"bare list working set", "MB", nullptr},
};

// A run that was killed left the prefix's desktops pointed at folders under `root`: the
// prefix's own folders come back before this run keeps them to put back.
void PutBackDesktopsLeftPointed(const std::string& root) {
    constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const struct {
        HKEY key;
        const char *value, *own;
    } desktops[] = {{HKEY_CURRENT_USER, "Desktop", "%USERPROFILE%\\Desktop"},
                    {HKEY_LOCAL_MACHINE, "Common Desktop", "%PUBLIC%\\Desktop"}};
    for (const auto& desktop : desktops) {
        char value[1024] = "";
        DWORD size = sizeof value;
        if (RegGetValueA(desktop.key, kKey, desktop.value,
                         RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value,
                         &size) == ERROR_SUCCESS &&
            _strnicmp(value, root.c_str(), root.size()) == 0)
            RegSetKeyValueA(desktop.key, kKey, desktop.value, REG_EXPAND_SZ, desktop.own,
                            static_cast<DWORD>(std::strlen(desktop.own) + 1));
    }
}

} // namespace

int main(int argc, char** argv) try {
    const Options options = ReadOptions(argc, argv);
    PutBackDesktopsLeftPointed(options.root);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const ShortcutBodies bodies;
    CreateDirectoryA(options.root.c_str(), nullptr);
    FILE* csv = std::fopen(options.csv.c_str(), "w");
    if (!csv)
        Fail("cannot write " + options.csv);
    std::fprintf(csv,
                 "shortcuts,measure,unit,best,median,worst,baseline,ratio_median,ratio_best\n");
    std::printf("bench_program: best and median of %d runs; ratios: the median of the per-run "
                "ratios, and best to best\n",
                options.repeat);
    std::printf("%9s  %-22s %9s %9s   %s\n", "shortcuts", "measure", "best", "median",
                "ratio (median, best)");
    for (const int n : options.sizes) {
        const std::string folder = options.root + std::to_string(n) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        const cwbench::Desktop desktop{folder + "Desktop\\", folder + "Public Desktop\\"};
        // The folders without their last backslash, which would escape the closing quote.
        const auto unquoted = [](const std::string& f) { return f.substr(0, f.size() - 1); };
        const std::string bare = "\"" + options.bare + "\" ",
                          folders = " \"" + unquoted(desktop.user) + "\" \"" +
                                    unquoted(desktop.allUsers) + "\"";
        Runs runs;
        for (int r = 0; r < options.repeat; ++r) {
            const double making = Seconds();
            if (cwbench::PrepareShortcuts(desktop, n, bodies))
                std::printf("%d shortcuts made in %s in %.1f s\n", n, folder.c_str(),
                            Seconds() - making);
            double start = Seconds();
            {
                Child read(bare + "read" + folders);
                read.Exited(INFINITE);
                runs["bare read"].push_back(Seconds() - start);
            }
            start = Seconds();
            {
                Child list(bare + "list" + folders);
                if (!WaitForListing(list, n))
                    Fail("the bare list did not come up");
                runs["bare list"].push_back(Seconds() - start);
                runs["bare list working set"].push_back(list.PeakWorkingSetMB());
            }
            {
                const cwtest::DesktopRedirect redirect(unquoted(desktop.user),
                                                       unquoted(desktop.allUsers));
                RunProgram(options.app, desktop, n, runs);
            }
            Child stamp(bare + "stamp" + folders + " " + std::to_string(n), true);
            stamp.Exited(INFINITE);
            runs["bare stamp"].push_back(std::atof(stamp.Output().c_str()));
        }
        for (const Line& line : kLines) {
            const std::vector<double>& values = runs[line.measure];
            if (values.empty())
                continue;
            const auto [low, high] = std::minmax_element(values.begin(), values.end());
            std::string ratio;
            double ratioMedian = 0, ratioBest = 0;
            if (line.baseline) {
                const std::vector<double>& base = runs[line.baseline];
                std::vector<double> ratios;
                for (size_t i = 0; i < values.size() && i < base.size(); ++i)
                    if (base[i] > 0)
                        ratios.push_back(values[i] / base[i]);
                if (!ratios.empty()) {
                    ratioMedian = Median(ratios);
                    ratioBest = *low / *std::min_element(base.begin(), base.end());
                    char text[80];
                    std::snprintf(text, sizeof text, "%.2f x %s (best %.2f x)", ratioMedian,
                                  line.baseline, ratioBest);
                    ratio = text;
                }
            }
            std::printf("%9d  %-22s %7.3f %s %7.3f %s   %s\n", n, line.measure, *low, line.unit,
                        Median(values), line.unit, ratio.c_str());
            std::fprintf(csv, "%d,%s,%s,%.6f,%.6f,%.6f,%s,%.4f,%.4f\n", n, line.measure, line.unit,
                         *low, Median(values), *high, line.baseline ? line.baseline : "",
                         ratioMedian, ratioBest);
        }
        std::fflush(stdout);
        std::fflush(csv);
    }
    std::fclose(csv);
    return 0;
} catch (const std::exception& failure) {
    std::fprintf(stderr, "bench_program: %s\n", failure.what());
    return 1;
}
