#include "AppDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace cwtest {
namespace {

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search.pid && IsWindowVisible(window))
        search.found.push_back(window);
    return TRUE;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

POINT RowCentre(HWND list, int row) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

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

AppDriver::AppDriver(const std::string& arguments) {
    std::string commandLine =
        "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " ") + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
}

AppDriver::~AppDriver() {
    if (!process_.hProcess)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        for (HWND window : TopLevelWindows())
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::vector<HWND> AppDriver::TopLevelWindows() const {
    Search search{process_.dwProcessId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AppDriver::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        for (HWND window : TopLevelWindows())
            if (TextOf(window) == caption && !IsMessageBox(window))
                return window;
        Sleep(50);
    } while (GetTickCount64() < end && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT);
    return nullptr;
}

std::optional<AnsweredBox> AppDriver::AnswerMessageBox(DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        for (HWND window : TopLevelWindows())
            if (IsMessageBox(window)) {
                AnsweredBox box = ReadMessageBox(window);
                // The icon is the program's own handle: compare it there is not possible from here.
                box.icon = BoxIcon::None;
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                // Wait until it is gone so that the next call does not read it again.
                while (IsWindow(window) && GetTickCount64() < end)
                    Sleep(20);
                return box;
            }
        Sleep(50);
    } while (GetTickCount64() < end);
    return std::nullopt;
}

std::optional<DWORD> AppDriver::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND FindChild(HWND parent, const std::string& windowClass, const std::string& caption) {
    for (HWND child : FindChildren(parent, windowClass))
        if (TextOf(child) == caption)
            return child;
    return nullptr;
}

std::vector<HWND> FindChildren(HWND parent, const std::string& windowClass) {
    struct Collect {
        std::string cls;
        std::vector<HWND> found;
    } collect{windowClass, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto& c = *reinterpret_cast<Collect*>(param);
            if (lstrcmpiA(ClassOf(child).c_str(), c.cls.c_str()) == 0)
                c.found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.found;
}

std::string TextOf(HWND window) {
    char text[1024] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

void ClickButton(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void ClickRow(HWND list, int row, WPARAM keys) {
    const POINT p = RowCentre(list, row);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(p.x, p.y));
    PostMessageA(list, WM_LBUTTONUP, keys, MAKELPARAM(p.x, p.y));
}

void DoubleClickRow(HWND list, int row) {
    const POINT p = RowCentre(list, row);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
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

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            rows.push_back(static_cast<int>(i));
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
