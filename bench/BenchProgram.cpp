// bench_program --app=<clutterwise.exe> --bare=<bench_bare.exe> --root=<folder> --csv=<file>
//               [--sizes=1000,10000,30000] [--repeat=3]
//
// Times the real program as a user meets it: clutterwise.exe started as its own process on a
// desktop of N shortcuts, visible, driven only through its windows (buttons pressed and rows
// clicked by messages, lists read back), against bare processes that do the least the same work
// can cost (bench_bare), measured in the same run:
//   start               from the process's start until its visible window lists every row and
//                       its message loop answers; against "bare list" (enumerate, sort by the
//                       find data's time, a visible window with a filled list box) and "bare
//                       read" (enumerate, open each file, read its time, end)
//   every other row >>  every other row of the full current list moved to the new order
//   refresh             "Refresh": the desktop scanned and listed again
//   select all + >>     "Select All" then ">>" on the full current list
//   one row <<          one row from the middle of the full new order moved back
//   alt+up, alt+down,   the keyboard's block moves and a drag to the top, each with every other
//   alt+home, alt+end,  row of the full new order selected (n/2 rows), until the moved rows are
//   drag to the top     selected and painted; against "every other row >>"
//   process             "Process" until the final message box shows; against "bare stamp"
//                       (open each shortcut, set its time; the work alone, without process start)
//   peak working set    the program's, at the end of its run; against the bare list's
// A move ends when both lists hold their new counts and the window has painted them. Per size,
// the best and the median of --repeat runs, the median of the per-run ratios and the ratio of the
// bests (noise on a shared machine only adds time, so the bests are the steadier). The shortcut
// files are made once per size in <root>\<N>\ and re-stamped before each run; the prefix's
// Desktop is pointed at them for the program's run and put back afterwards.
#include "app/FinalBox.h"
#include "BenchShortcuts.h"
#include "DesktopRedirect.h"
#include "MessageBoxAnswerer.h" // IsMessageBox, ReadMessageBox
#include "ProcessWindows.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cwbench::Seconds;

constexpr DWORD kPatienceMs = 180000; // a step that takes longer has failed

using cwtest::Children;
using cwtest::WindowsPathOf;

bool WaitUntil(const std::function<bool()>& done) {
    return cwtest::WaitUntil(done, kPatienceMs, 1);
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench_program: %s\n", what.c_str());
    std::exit(1);
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

private:
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

// The program's run: start, moves, refresh, processing; each figure into `runs`.
void RunProgram(const std::string& app, int n, Runs& runs) {
    double start = Seconds();
    Child program("\"" + app + "\"");
    const HWND main = WaitForListing(program, n);
    if (!main)
        Fail("the program did not list " + std::to_string(n) + " rows");
    runs["start"].push_back(Seconds() - start);

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
               ascending = button("Ascending");
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

    timed(
        "refresh", [&] { Press(refresh); }, n, 0);
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
    int errors = 0;
    for (bool done = false; !done;) {
        HWND box = nullptr;
        if (!WaitUntil([&] {
                for (HWND window : program.Windows())
                    if (cwtest::IsMessageBox(window))
                        box = window;
                return box != nullptr;
            }))
            Fail("processing showed no message box");
        const std::string text = cwtest::ReadMessageBox(box).text;
        done =
            text.rfind(cw::kSortByDateByHand, 0) == 0 || text.rfind(cw::kDesktopShowsOrder, 0) == 0;
        if (done)
            runs["process"].push_back(Seconds() - start);
        else
            ++errors;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitUntil([&] { return !IsWindow(box); });
    }
    if (errors)
        std::printf("  processing reported %d errors\n", errors);
    runs["peak working set"].push_back(program.PeakWorkingSetMB());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t m = values.size() / 2;
    return values.size() % 2 ? values[m] : (values[m - 1] + values[m]) / 2;
}

struct Options {
    std::string app, bare, root, csv;
    std::vector<int> sizes{1000, 10000, 30000};
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
             "[--sizes=1000,10000,30000] [--repeat=3]");
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
    {"select all + >>", "s", nullptr},
    {"every other row >>", "s", nullptr},
    {"one row <<", "s", nullptr},
    {"alt+up", "s", "every other row >>"},
    {"alt+down", "s", "every other row >>"},
    {"alt+home", "s", "every other row >>"},
    {"alt+end", "s", "every other row >>"},
    {"drag to the top", "s", "every other row >>"},
    {"refresh", "s", nullptr},
    {"process", "s", "bare stamp"},
    {"bare stamp", "s", nullptr},
    {"peak working set", "MB", "bare list working set"},
    {"bare list working set", "MB", nullptr},
};

} // namespace

int main(int argc, char** argv) {
    const Options options = ReadOptions(argc, argv);
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
        Runs runs;
        for (int r = 0; r < options.repeat; ++r) {
            const double making = Seconds();
            if (cwbench::PrepareShortcuts(folder, n))
                std::printf("%d shortcuts made in %s in %.1f s\n", n, folder.c_str(),
                            Seconds() - making);
            // The folder without its last backslash, which would escape the closing quote.
            const std::string bare = "\"" + options.bare + "\" ",
                              quoted = " \"" + folder.substr(0, folder.size() - 1) + "\"";
            double start = Seconds();
            {
                Child read(bare + "read" + quoted);
                read.Exited(INFINITE);
                runs["bare read"].push_back(Seconds() - start);
            }
            start = Seconds();
            {
                Child list(bare + "list" + quoted);
                if (!WaitForListing(list, n))
                    Fail("the bare list did not come up");
                runs["bare list"].push_back(Seconds() - start);
                runs["bare list working set"].push_back(list.PeakWorkingSetMB());
            }
            {
                const cwtest::DesktopRedirect redirect(folder.substr(0, folder.size() - 1));
                RunProgram(options.app, n, runs);
            }
            Child stamp(bare + "stamp" + quoted + " " + std::to_string(n), true);
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
}
