// bench_bare <mode> <folder> [count]
//
// The least a piece of the program's work can cost, as a process of its own, for bench_program
// to set against the program in the same run:
//   read   enumerates <folder>*.lnk, opens each file, reads its time and ends (the I/O of a scan
//          that opens every shortcut);
//   list   enumerates <folder>*.lnk, sorts the names by the find data's time, creates a window
//          with a multi-select list box, fills the list with its redraw held, shows the window
//          and waits for messages (the least a start-up can cost); bench_program closes it;
//   stamp  opens "Shortcut 00000.lnk" ... of <count> and sets each one's time, then writes the
//          seconds that took to standard output (processing without the program around it).
// A window program like clutterwise.exe, so that both start the same way.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Wide throughout: the platform's own form, no conversions.
struct Found {
    std::wstring name;
    ULONGLONG written;
};

std::vector<Found> Enumerate(const std::wstring& folder) {
    std::vector<Found> found;
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW((folder + L"*.lnk").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            found.push_back(
                {data.cFileName, (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                     data.ftLastWriteTime.dwLowDateTime});
    while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

int Read(const std::wstring& folder) {
    for (const Found& f : Enumerate(folder)) {
        const HANDLE file =
            CreateFileW((folder + f.name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        FILETIME created, accessed, written;
        GetFileTime(file, &created, &accessed, &written);
        CloseHandle(file);
    }
    return 0;
}

int List(const std::wstring& folder) {
    std::vector<Found> found = Enumerate(folder);
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
    size_t bytes = 0;
    for (const Found& f : found)
        bytes += 2 * (f.name.size() + 1);
    // Filled with its redraw held, as a bulk change should be.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_INITSTORAGE, found.size(), static_cast<LPARAM>(bytes));
    for (Found& f : found) {
        f.name.resize(f.name.size() - 4); // without ".lnk"
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
    }
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

int Stamp(const std::wstring& folder, int count) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    for (int i = 0; i < count; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"Shortcut %05d.lnk", i);
        const HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
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
    if (argc < 3)
        return 2;
    const std::string mode = argv[1];
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(
        static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, argv[2], -1, folder.data(), MAX_PATH)));
    if (folder.empty())
        return 2;
    folder.back() = L'\\'; // in place of the terminator
    if (mode == "read")
        return Read(folder);
    if (mode == "list")
        return List(folder);
    if (mode == "stamp" && argc > 3)
        return Stamp(folder, std::atoi(argv[3]));
    return 2;
}
