#pragma once
// Another process's windows, seen from outside as a user would see them: by the end-to-end tests
// and the benchmark of the real program.
#include "PageDriver.h" // TextOf

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace cwtest {

// Posted input is handled in the program's own time (and a sent message may overtake it): waits
// until `done` holds, looking every `pollMs`, or the time runs out (false).
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000,
                      DWORD pollMs = 20) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(pollMs);
    }
    return true;
}

// A Linux path from a command line as Wine's drive Z: sees it; any other path as it is.
inline std::string WindowsPathOf(std::string path) {
    if (!path.empty() && path[0] == '/') {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
    return path;
}

// The visible top-level windows of a process, message boxes included.
inline std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& [pid, found] = *reinterpret_cast<decltype(search)*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == pid && IsWindowVisible(window))
                found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// The child window of a class with a caption (a button, whichever frame holds it), or every child
// of the class when the caption is empty.
inline std::vector<HWND> Children(HWND parent, const std::string& windowClass,
                                  const std::string& caption = "") {
    std::tuple<std::string, std::string, std::vector<HWND>> search{windowClass, caption, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto& [cls, text, found] = *reinterpret_cast<decltype(search)*>(param);
            char name[64] = "";
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, cls.c_str()) == 0 && (text.empty() || TextOf(child) == text))
                found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return std::get<2>(search);
}

// The list boxes of a window, left to right.
inline std::vector<HWND> ListsLeftToRight(HWND window) {
    std::vector<HWND> lists = Children(window, "ListBox");
    const auto left = [](HWND list) {
        RECT r{};
        GetWindowRect(list, &r);
        return r.left;
    };
    std::sort(lists.begin(), lists.end(), [&](HWND a, HWND b) { return left(a) < left(b); });
    return lists;
}

} // namespace cwtest
