#include "AppDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace cwtest {

std::string ProgramPath() {
    for (const std::string& arg : ::testing::internal::GetArgvs())
        if (arg.rfind("--app=", 0) == 0) {
            std::string path = arg.substr(6);
            if (!path.empty() && path[0] == '/') {
                std::replace(path.begin(), path.end(), '/', '\\');
                path = "Z:" + path;
            }
            return path;
        }
    return {};
}

AppDriver::AppDriver() {
    std::string commandLine = "\"" + ProgramPath() + "\"";
    STARTUPINFOA startup{sizeof startup};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
}

AppDriver::~AppDriver() {
    if (!process_.hProcess)
        return;
    if (!WaitForExit(0)) {
        for (HWND window : TopLevelWindows())
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (!WaitForExit(5000))
            TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::vector<HWND> AppDriver::TopLevelWindows() const {
    std::pair<DWORD, std::vector<HWND>> search{process_.dwProcessId, {}};
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

HWND AppDriver::WaitForWindow(const std::string& caption) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows())
            if (TextOf(window) == caption && !IsMessageBox(window))
                found = window;
        return found || WaitForExit(0);
    });
    return found;
}

std::optional<AnsweredBox> AppDriver::AnswerMessageBox() const {
    HWND box = nullptr;
    if (!WaitUntil([&] {
            const auto windows = TopLevelWindows();
            const auto it = std::find_if(windows.begin(), windows.end(), IsMessageBox);
            box = it == windows.end() ? nullptr : *it;
            return box != nullptr;
        }))
        return std::nullopt;
    AnsweredBox read = ReadMessageBox(box);
    read.icon = BoxIcon::None; // the program's own icon handles do not compare from here
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindow(box); }); // so that the next call does not read it again
    return read;
}

std::optional<DWORD> AppDriver::WaitForExit(DWORD timeoutMs) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &code))
        return std::nullopt;
    return code;
}

std::vector<HWND> FindChildren(HWND parent, const std::string& windowClass) {
    std::pair<std::string, std::vector<HWND>> search{windowClass, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto& [cls, found] = *reinterpret_cast<decltype(search)*>(param);
            char name[64] = "";
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, cls.c_str()) == 0)
                found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND FindChild(HWND parent, const std::string& windowClass, const std::string& caption) {
    for (HWND child : FindChildren(parent, windowClass))
        if (TextOf(child) == caption)
            return child;
    return nullptr;
}

void ClickButton(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void ClickRow(HWND list, int row, WPARAM keys, bool twice) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    PostMessageA(list, WM_LBUTTONUP, keys, at);
    if (twice) {
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
    }
}

void PressKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Read through the wide message: Wine hands a narrow LB_GETTEXT sent to another process's
// list the row's UTF-16 text unconverted.
std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[1024] = L"";
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[4096] = "";
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        rows.emplace_back(text);
    }
    return rows;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

} // namespace cwtest
