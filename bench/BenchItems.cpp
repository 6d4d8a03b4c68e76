// bench_items [--sizes=1000,10000,30000] [--repeat=5] [--folder=<path>]
//
// Times the main window's work on big desktops against the bare platform calls it rests on,
// measured in the same run: the scan (enumeration, sort, list fill), "Select All" + ">>"
// of every row, processing the new order into file times, the journal that guards a run, and
// undoing a run. Each figure is the best of --repeat runs. The shortcut files are made once per
// size in a folder of the prefix's temporary folder and kept for later runs.
#include "BenchShortcuts.h"
#include "app/DesktopItems.h"
#include "app/ItemLists.h"
#include "app/Journal.h"
#include "app/NewOrder.h"
#include "app/Repair.h"
#include "app/Runs.h"
#include "fs/FileSystem.h"
#include "win32/FileTime.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace cw;
using cwbench::Seconds;
using cwbench::StampOf;
using cwbench::Time;

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Two list boxes like the main window's, on a visible window.
struct Lists {
    Lists() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BenchItems";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "BenchItems", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 721, 420, nullptr, nullptr, wc.hInstance, nullptr);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS |
                            LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL;
        current = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", style, 24, 114, 241, 264, window,
                                  nullptr, wc.hInstance, nullptr);
        added = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", style, 336, 115, 241, 264, window,
                                nullptr, wc.hInstance, nullptr);
        Pump();
    }
    ~Lists() { DestroyWindow(window); }
    HWND window, current, added;
};

struct Best {
    double seconds = std::numeric_limits<double>::max();
    void Take(double s) { seconds = std::min(seconds, s); }
};

void Bench(int count, int repeat, const std::string& root, Lists& lists) {
    const FileSystem fs;
    const std::string folder = root + std::to_string(count) + "\\";
    const double making = Seconds();
    const auto body = [](const cwbench::ShortcutFile&, int) {
        return std::string("a shortcut's place");
    };
    if (cwbench::PrepareShortcuts({folder, ""}, count, body))
        std::printf("%6d files made in %.2f s\n", count, Seconds() - making);

    // The scan as the main window runs it, against the bare enumeration, whose entries carry
    // the times the scan sorts by.
    Best scan, scanBase;
    for (int r = 0; r < repeat; ++r) {
        scanBase.Take(Time([&] {
            std::vector<std::pair<std::string, FILETIME>> found;
            WIN32_FIND_DATAA data;
            const HANDLE search = FindFirstFileA((folder + "*.lnk").c_str(), &data);
            if (search != INVALID_HANDLE_VALUE) {
                do
                    found.emplace_back(folder + data.cFileName, data.ftLastWriteTime);
                while (FindNextFileA(search, &data));
                FindClose(search);
            }
        }));
        scan.Take(Time([&] {
            ReplaceRows(lists.current, Titles(ScanDesktopItems(DesktopFolders{folder, ""})));
            Pump();
        }));
    }

    // "Select All" and ">>" of every row, through the main window's move.
    const std::vector<std::string> rows = ReadRows(lists.current);
    // The files of the rows, all in the one folder.
    const DesktopFolders folders{folder, ""};
    std::vector<OrderRow> files;
    for (const std::string& row : rows)
        files.push_back({false, row + ".lnk"});
    Best move;
    for (int r = 0; r < repeat; ++r) {
        ReplaceRows(lists.current, rows);
        ReplaceRows(lists.added, {});
        Pump();
        move.Take(Time([&] {
            SendMessageA(lists.current, LB_SETSEL, TRUE, -1);
            MoveSelectedRows(lists.current, lists.added);
            Pump();
        }));
    }
    const bool moved = ReadRows(lists.added) == rows && ReadRows(lists.current).empty();
    // Every other row, which takes rows out from the middle of the list.
    ReplaceRows(lists.added, {});
    ReplaceRows(lists.current, rows);
    for (int i = 0; i < count; i += 2)
        SendMessageA(lists.current, LB_SETSEL, TRUE, i);
    const double half = Time([&] {
        MoveSelectedRows(lists.current, lists.added);
        Pump();
    });

    // Processing the new order, against one write-open and stamp per shortcut. Under Wine each
    // check for a file that does not exist reads the whole folder, so a big run is timed once;
    // the existence checks it makes per row are timed on their own over the first rows.
    Best process, processBase, checkLnk, checkPif;
    int failures = 0;
    const FILETIME stamp = StampOf(0, 1);
    for (int r = 0; r < repeat; ++r) {
        processBase.Take(Time([&] {
            for (const std::string& row : rows) {
                const HANDLE file =
                    CreateFileA((folder + row + ".lnk").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
                SetFileTime(file, &stamp, &stamp, &stamp);
                CloseHandle(file);
            }
        }));
        if (r == 0 || count <= 1000)
            process.Take(Time([&] {
                StampNewOrder(fs, folders, files, kStepAscending,
                              [&](const std::string&) { ++failures; });
            }));
        const size_t sample = std::min<size_t>(rows.size(), 1000);
        checkLnk.Take(Time([&] {
                          for (size_t i = 0; i < sample; ++i)
                              fs.IsFile(folder + rows[i] + ".lnk");
                      }) /
                      static_cast<double>(sample));
        checkPif.Take(Time([&] {
                          for (size_t i = 0; i < sample; ++i)
                              fs.IsFile(folder + rows[i] + ".pif");
                      }) /
                      static_cast<double>(sample));
    }

    // The journal of a run (originals read from one listing and written to disk before the first
    // stamp, the times written added after) against the stamping it guards; Undo against a bare
    // open + set-time pass over the same files.
    Journal journal(root + "journal\\");
    Best stamping, journaled, plan, writes, undo, undoBase;
    for (int r = 0; r < repeat; ++r) {
        // Each pair is timed in turn first and later, so that neither gains from the other's warm
        // caches.
        const auto alone = [&] { StampNewOrder(fs, folders, files, kStepAscending, nullptr); };
        if (r % 2)
            stamping.Take(Time(alone));
        journaled.Take(Time([&] {
            StampJournaled(journal, fs, RunKind::Process, folders, files, kStepAscending, nullptr);
        }));
        const JournalRun run = *journal.ReadWhole(journal.LatestToUndo());
        // The journal's own parts, timed alone: the plan, the text written before and after.
        JournalRun copy;
        plan.Take(Time([&] { copy = PlanRun(RunKind::Process, folders, files, kStepAscending); }));
        double written = Time([&] { journal.Save(copy); });
        copy = run;
        copy.number = 0;
        writes.Take(written + Time([&] { journal.Save(copy); }));

        const auto bare = [&] {
            for (const JournalEntry& file : run.files) {
                const HANDLE handle = CreateFileA(file.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, 0, nullptr);
                const auto filetime = [](FileTimeValue t) {
                    return FILETIME{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
                };
                const FILETIME c = filetime(file.original.created),
                               a = filetime(file.original.accessed),
                               w = filetime(file.original.written);
                SetFileTime(handle, &c, &a, &w);
                CloseHandle(handle);
            }
        };
        if (r % 2)
            undoBase.Take(Time(bare));
        int restored = 0;
        undo.Take(Time([&] { restored = UndoRun(journal, run, nullptr).restored; }));
        if (restored != count)
            std::printf("  undo restored %d of %d (WRONG RESULT)\n", restored, count);
        if (r % 2 == 0) {
            undoBase.Take(Time(bare));
            stamping.Take(Time(alone)); // after the undo, which it would otherwise upset
        }
    }
    const double journalCost = plan.seconds + writes.seconds;

    // Reapply with one shortcut out of place, re-created in the middle of the applied order: one
    // scan, the plan, and the one file journaled and stamped, as "/reapply" does.
    StampJournaled(journal, fs, RunKind::Process, folders, files, kStepAscending, nullptr);
    const JournalRun applied = *journal.ReadWhole(journal.LatestToUndo());
    const std::string recreated = folder + files[files.size() / 2].name;
    Best reapply;
    size_t reapplyWrote = 0;
    for (int r = 0; r < repeat; ++r) {
        const FileTimeValue day = UtcNow() + 864'000'000'000ULL; // the newest on the desktop
        const FILETIME late{static_cast<DWORD>(day), static_cast<DWORD>(day >> 32)};
        const HANDLE file = CreateFileA(recreated.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, &late, &late, &late);
        CloseHandle(file);
        reapply.Take(Time([&] {
            const ReapplyPlan repair = PlanReapply(applied, ScanDesktopItems(folders));
            StampRepair(journal, folders, repair, applied.step, nullptr);
        }));
        reapplyWrote = journal.ReadWhole(journal.LatestToUndo())->files.size();
    }

    std::printf("%6d shortcuts\n", count);
    std::printf("  scan + fill   %9.3f s   baseline %9.3f s   ratio %5.2f\n", scan.seconds,
                scanBase.seconds, scan.seconds / scanBase.seconds);
    std::printf("  select all + >> %7.3f s%s;  every other row >> %.3f s\n", move.seconds,
                moved ? "" : " (WRONG RESULT)", half);
    std::printf("  process       %9.3f s   baseline %9.3f s   ratio %5.2f%s\n", process.seconds,
                processBase.seconds, process.seconds / processBase.seconds,
                failures ? " (FAILURES)" : "");
    std::printf(
        "    existence checks per row: .lnk %.0f us, .pif (absent) %.0f us -> %.3f s in all%s\n",
        checkLnk.seconds * 1e6, checkPif.seconds * 1e6,
        (checkLnk.seconds + checkPif.seconds) * count,
        count > 1000 ? "  [processing timed once at this size]" : "");
    std::printf("  journal       %9.3f s   of stamping %6.3f s: %4.1f %%  (originals %.3f s, "
                "written before and after %.3f s)\n",
                journalCost, stamping.seconds, 100 * journalCost / stamping.seconds, plan.seconds,
                writes.seconds);
    std::printf("  journaled run %9.3f s   stamping alone %7.3f s   ratio %5.2f\n",
                journaled.seconds, stamping.seconds, journaled.seconds / stamping.seconds);
    std::printf("  undo          %9.3f s   baseline %9.3f s   ratio %5.2f\n", undo.seconds,
                undoBase.seconds, undo.seconds / undoBase.seconds);
    std::printf("  reapply, one out of place %7.3f s (%zu file written)   scan + fill %7.3f s   "
                "ratio %5.2f\n",
                reapply.seconds, reapplyWrote, scan.seconds, reapply.seconds / scan.seconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes{1000, 10000, 30000};
    int repeat = 5;
    std::string root;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--sizes=", 0) == 0) {
            sizes.clear();
            std::stringstream list(arg.substr(8));
            for (std::string size; std::getline(list, size, ',');)
                sizes.push_back(std::atoi(size.c_str()));
        } else if (arg.rfind("--repeat=", 0) == 0) {
            repeat = std::max(1, std::atoi(arg.c_str() + 9));
        } else if (arg.rfind("--folder=", 0) == 0) {
            root = arg.substr(9);
        }
    }
    if (root.empty()) {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "clutterwise-bench";
    }
    CreateDirectoryA(root.c_str(), nullptr);
    root = FileSystem().AddFolderBackslash(root);
    std::printf("bench_items: best of %d runs, files in %s\n", repeat, root.c_str());
    Lists lists;
    for (const int count : sizes)
        if (count > 0 && count <= 32767)
            Bench(count, repeat, root, lists);
    return 0;
}
