#pragma once
// What the two benchmark programs share: the clock, and the desktops of numbered shortcuts they
// time the work on, made once per size and given their stamps again before each run.
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

// "Shortcut 00042": bench_bare's stamping relies on these titles.
inline std::string ShortcutTitle(int i) {
    char title[32];
    std::snprintf(title, sizeof title, "Shortcut %05d", i);
    return title;
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

// Makes the folder's `count` shortcuts when it holds anything else (true: they were made), and
// gives every one its stamp again, which an earlier run's processing moved. A shortcut that
// cannot be made ends the program.
inline bool PrepareShortcuts(const std::string& folder, int count) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const bool made = CountFiles(folder, "*") == count && CountFiles(folder, "*.lnk") == count;
    if (!made)
        RemoveFiles(folder);
    const std::string fast = cwtest::FastPathOf(folder);
    for (int i = 0; i < count; ++i) {
        const std::string path = fast + ShortcutTitle(i) + ".lnk";
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                        made ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot make %s\n", path.c_str());
            std::exit(2);
        }
        if (!made) {
            static const char kBody[] = "a shortcut's place";
            DWORD written = 0;
            WriteFile(file, kBody, sizeof kBody - 1, &written, nullptr);
        }
        const FILETIME stamp = StampOf(i, count);
        SetFileTime(file, &stamp, &stamp, &stamp);
        CloseHandle(file);
    }
    return !made;
}

} // namespace cwbench
