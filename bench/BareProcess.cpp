// bench_bare <mode> <user's desktop> <desktop of all users> [count]
//
// The least a piece of the program's work can cost, as a process of its own, for bench_program
// to set against the program in the same run. Each mode works on the shortcuts (".lnk", ".url")
// of both folders:
//   read   enumerates them, opens each file, reads its time and ends (the I/O of a scan that
//          opens every shortcut);
//   list   enumerates them, sorts the titles by the find data's time, creates a window with a
//          multi-select list box, fills the list with its redraw held, shows the window and waits
//          for messages (the least a start-up can cost); bench_program closes it;
//   stamp  opens shortcut 0 ... <count> - 1 where bench_program made them and sets each one's
//          time, then writes the seconds that took to standard output (processing without the
//          program around it).
// A window program like clutterwise.exe, so that both start the same way.
#include "BenchShortcuts.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Wide throughout: the platform's own form, no conversions.
struct Found {
    std::wstring folder, name;
    bool allUsers;
    ULONGLONG written;
};

bool IsShortcut(const std::wstring& name) {
    return name.size() > 4 && (_wcsicmp(name.c_str() + name.size() - 4, L".lnk") == 0 ||
                               _wcsicmp(name.c_str() + name.size() - 4, L".url") == 0);
}

// The shortcuts of both folders, the user's first.
std::vector<Found> Enumerate(const std::wstring (&folders)[2]) {
    std::vector<Found> found;
    for (const bool allUsers : {false, true}) {
        const std::wstring& folder = folders[allUsers];
        WIN32_FIND_DATAW data;
        const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsShortcut(data.cFileName))
                found.push_back({folder, data.cFileName, allUsers,
                                 (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                     data.ftLastWriteTime.dwLowDateTime});
        while (FindNextFileW(search, &data));
        FindClose(search);
    }
    return found;
}

int Read(const std::wstring (&folders)[2]) {
    for (const Found& f : Enumerate(folders)) {
        const HANDLE file =
            CreateFileW((f.folder + f.name).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        FILETIME created, accessed, written;
        GetFileTime(file, &created, &accessed, &written);
        CloseHandle(file);
    }
    return 0;
}

int List(const std::wstring (&folders)[2]) {
    std::vector<Found> found = Enumerate(folders);
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.written < b.written; });

    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_CLOSE)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareList";
    RegisterClassA(&wc);
    // The main window's client size and its list's place and size.
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r{0, 0, 721, 420};
    AdjustWindowRect(&r, style, FALSE);
    const HWND window = CreateWindowExA(0, "BareList", "bare list", style, 0, 0, r.right - r.left,
                                        r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    const HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                                          LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL,
                                      16, 48, 241, 264, window, nullptr, wc.hInstance, nullptr);
    // Titles, those of the desktop of all users marked as the program marks them.
    size_t bytes = 0;
    for (Found& f : found) {
        f.name.resize(f.name.size() - 4);
        if (f.allUsers)
            f.name += L" (all users)";
        bytes += 2 * (f.name.size() + 1);
    }
    // Filled with its redraw held, as a bulk change should be.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_INITSTORAGE, found.size(), static_cast<LPARAM>(bytes));
    for (const Found& f : found)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int Stamp(const std::wstring (&folders)[2], int count) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const cwbench::Desktop desktop{"user", "all users"}; // only where each shortcut lies counts
    for (int i = 0; i < count; ++i) {
        const cwbench::ShortcutFile shortcut = cwbench::ShortcutFileOf(i, desktop);
        const std::wstring path =
            folders[shortcut.allUsers] + std::wstring(shortcut.name.begin(), shortcut.name.end());
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        SetFileTime(file, &now, &now, &now);
        CloseHandle(file);
    }
    QueryPerformanceCounter(&end);
    char seconds[32];
    const int length = std::snprintf(seconds, sizeof seconds, "%.6f\n",
                                     static_cast<double>(end.QuadPart - start.QuadPart) /
                                         static_cast<double>(frequency.QuadPart));
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), seconds, static_cast<DWORD>(length), &written,
              nullptr);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** const argv = __argv;
    if (argc < 4)
        return 2;
    const std::string mode = argv[1];
    std::wstring folders[2];
    for (int i = 0; i < 2; ++i) {
        std::wstring& folder = folders[i];
        folder.resize(MAX_PATH);
        folder.resize(static_cast<size_t>(
            MultiByteToWideChar(CP_ACP, 0, argv[2 + i], -1, folder.data(), MAX_PATH)));
        if (folder.empty())
            return 2;
        folder.back() = L'\\'; // in place of the terminator
    }
    if (mode == "read")
        return Read(folders);
    if (mode == "list")
        return List(folders);
    if (mode == "stamp" && argc > 4)
        return Stamp(folders, std::atoi(argv[4]));
    return 2;
}
