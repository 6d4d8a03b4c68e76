// bench_startup [--sizes=10000,40000] [--repeat=3] [--app=<clutterwise.exe>]
//
// Times the real program's start-up on big desktops: from starting clutterwise.exe on a desktop
// folder of N shortcuts until its main window is shown (the scan has then filled the list), and
// prints the rows listed. Each figure is the best of --repeat starts. The shortcut files are made
// once per size in a folder of the prefix's temporary folder and kept for later runs; the
// prefix's Desktop points there while the program runs and is put back afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

double Seconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Wine's own form of a Linux path, which it creates files in without looking for the same name
// in other letter cases: filling a big folder is then not quadratic. Plain paths elsewhere.
std::string FastPathOf(const std::string& folder) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
    char* name = unixName ? unixName(wide) : nullptr;
    if (!name)
        return folder;
    std::string path = std::string("\\\\?\\unix") + name;
    HeapFree(GetProcessHeap(), 0, name);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path + "\\";
}

int CountShortcuts(const std::string& folder) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + "\\*.lnk").c_str(), &data);
    int count = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(search, &data));
        FindClose(search);
    }
    return count;
}

// `count` empty shortcuts, stamped one second apart in an order unrelated to their names.
void MakeShortcuts(const std::string& folder, int count) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string fast = FastPathOf(folder);
    for (int i = CountShortcuts(folder); i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Shortcut %05d.lnk", i);
        const HANDLE file = CreateFileA((fast + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ULARGE_INTEGER t{};
        t.QuadPart = 133000000000000000ULL + (static_cast<ULONGLONG>(i) * 7919 % count) * 10000000;
        const FILETIME stamp{t.LowPart, t.HighPart};
        SetFileTime(file, &stamp, &stamp, &stamp);
        CloseHandle(file);
    }
}

struct Found {
    DWORD pid;
    HWND window = nullptr;
};

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
    auto& found = *reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (pid == found.pid && IsWindowVisible(window) &&
        std::string(caption) == "Norvanta Clutterwise") {
        found.window = window;
        return FALSE;
    }
    return TRUE;
}

// The row count of the main window's fuller list ("Current order:" right after start-up).
BOOL CALLBACK CountRows(HWND child, LPARAM param) {
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ListBox") == 0)
        *reinterpret_cast<LRESULT*>(param) =
            std::max(*reinterpret_cast<LRESULT*>(param), SendMessageA(child, LB_GETCOUNT, 0, 0));
    return TRUE;
}

// One start: seconds until the main window shows, and the rows it lists; -1 when it never shows.
double TimeStart(const std::string& app, LRESULT& rows) {
    std::string commandLine = "\"" + app + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Seconds();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    Found found{process.dwProcessId};
    while (!found.window && WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT)
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
    const double elapsed = Seconds() - start;
    rows = 0;
    if (found.window) {
        EnumChildWindows(found.window, CountRows, reinterpret_cast<LPARAM>(&rows));
        PostMessageA(found.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return found.window ? elapsed : -1;
}

void SetDesktop(const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Desktop", 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes{10000, 40000};
    int repeat = 3;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string app = self;
    app = app.substr(0, app.find_last_of('\\')) + "\\..\\app\\clutterwise.exe";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--sizes=", 0) == 0) {
            sizes.clear();
            std::stringstream list(arg.substr(8));
            for (std::string size; std::getline(list, size, ',');)
                sizes.push_back(std::atoi(size.c_str()));
        } else if (arg.rfind("--repeat=", 0) == 0) {
            repeat = std::max(1, std::atoi(arg.c_str() + 9));
        } else if (arg.rfind("--app=", 0) == 0) {
            app = arg.substr(6);
        }
    }
    char previous[1024] = "";
    DWORD size = sizeof previous;
    const bool hadPrevious = RegGetValueA(HKEY_CURRENT_USER, kShellFolders, "Desktop",
                                          RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                                          nullptr, previous, &size) == ERROR_SUCCESS;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::printf("bench_startup: best of %d starts of %s\n", repeat, app.c_str());
    for (const int count : sizes) {
        const std::string folder =
            std::string(temp) + "clutterwise-startup-" + std::to_string(count);
        MakeShortcuts(folder, count);
        SetDesktop(folder);
        double best = std::numeric_limits<double>::max();
        LRESULT rows = 0;
        for (int r = 0; r < repeat; ++r) {
            const double seconds = TimeStart(app, rows);
            if (seconds >= 0)
                best = std::min(best, seconds);
        }
        std::printf("%6d shortcuts: window shown after %7.2f s, %ld rows listed\n", count, best,
                    static_cast<long>(rows));
        std::fflush(stdout);
    }
    if (hadPrevious)
        SetDesktop(previous);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    return 0;
}
