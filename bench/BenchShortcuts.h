#pragma once
// What the benchmark programs share: the clock, and the desktops of numbered shortcuts they time
// the work on, made once per size and given their stamps again before each run.
#include "UnixPath.h" // FastPathOf

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace cwbench {

inline double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

inline double Time(const std::function<void()>& work) {
    const double start = Seconds();
    work();
    return Seconds() - start;
}

// "Shortcut 00042": the rows' titles, by which bench_program finds a row's file.
inline std::string ShortcutTitle(int i) {
    char title[32];
    std::snprintf(title, sizeof title, "Shortcut %05d", i);
    return title;
}

// A desktop of numbered shortcuts: the user's folder and the desktop of all users, each ending in
// a backslash; without the second, every shortcut lies in the first.
struct Desktop {
    std::string user, allUsers;
    bool Whole() const { return !allUsers.empty(); }
};

// Shortcut i's place on a desktop: a whole desktop has the odd ones on the desktop of all users,
// and four in a hundred are Internet shortcuts (".url"), as browsers and game launchers leave.
struct ShortcutFile {
    bool allUsers = false;
    bool internet = false;
    std::string name;
    std::string PathIn(const Desktop& desktop) const {
        return (allUsers ? desktop.allUsers : desktop.user) + name;
    }
};

inline ShortcutFile ShortcutFileOf(int i, const Desktop& desktop) {
    ShortcutFile file;
    file.allUsers = desktop.Whole() && i % 2 == 1;
    file.internet = desktop.Whole() && i % 25 == 12;
    file.name = ShortcutTitle(i) + (file.internet ? ".url" : ".lnk");
    return file;
}

// Shortcut i's stamp: one second apart in an order unrelated to the names (a fixed permutation).
inline FILETIME StampOf(int i, int count) {
    const long long position = (static_cast<long long>(i) * 7919) % count;
    ULARGE_INTEGER t{};
    t.QuadPart = 133000000000000000ULL + static_cast<ULONGLONG>(position) * 10000000ULL;
    return {t.LowPart, t.HighPart};
}

// The files (not folders) of `folder`, which ends in a backslash, that match `pattern`.
inline int CountFiles(const std::string& folder, const char* pattern) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        count += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    while (FindNextFileA(search, &data));
    FindClose(search);
    return count;
}

inline void RemoveFiles(const std::string& folder) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + data.cFileName).c_str());
    while (FindNextFileA(search, &data));
    FindClose(search);
}

// A shortcut file's contents.
using ShortcutBody = std::function<std::string(const ShortcutFile&, int i)>;

// Makes the desktop's `count` shortcuts where a folder holds anything else (true: some were made),
// and gives every one its stamp again, which an earlier run's processing moved. A shortcut that
// cannot be made ends the program.
inline bool PrepareShortcuts(const Desktop& desktop, int count, const ShortcutBody& body) {
    bool made[2] = {true, true}; // the user's folder, the desktop of all users
    for (const bool allUsers : {false, true}) {
        const std::string& folder = allUsers ? desktop.allUsers : desktop.user;
        if (folder.empty())
            continue;
        CreateDirectoryA(folder.c_str(), nullptr);
        int files = 0, internet = 0;
        for (int i = 0; i < count; ++i)
            if (const ShortcutFile file = ShortcutFileOf(i, desktop); file.allUsers == allUsers) {
                ++files;
                internet += file.internet ? 1 : 0;
            }
        made[allUsers] =
            CountFiles(folder, "*") == files && CountFiles(folder, "*.url") == internet;
        if (!made[allUsers])
            RemoveFiles(folder);
    }
    const Desktop fast{cwtest::FastPathOf(desktop.user),
                       desktop.Whole() ? cwtest::FastPathOf(desktop.allUsers) : ""};
    for (int i = 0; i < count; ++i) {
        const ShortcutFile file = ShortcutFileOf(i, desktop);
        const bool there = made[file.allUsers];
        const std::string path = file.PathIn(fast);
        const HANDLE handle =
            CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                        there ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot make %s\n", path.c_str());
            std::exit(2);
        }
        if (!there) {
            const std::string bytes = body(file, i);
            DWORD written = 0;
            WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
        const FILETIME stamp = StampOf(i, count);
        SetFileTime(handle, &stamp, &stamp, &stamp);
        CloseHandle(handle);
    }
    return !made[0] || !made[1];
}

} // namespace cwbench
