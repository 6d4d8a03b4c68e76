#pragma once
// The real program as its own process, driven only through its windows as a user would: clicks
// on buttons and list rows, answering its message boxes.
#include "MessageBoxAnswerer.h"
#include "PageDriver.h" // TextOf
#include "ProcessWindows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cwtest {
using Texts = std::vector<std::string>;
constexpr const char* kTitle = "Norvanta Clutterwise";

// The program under test: from the command line (--app=<path>), a Linux path mapped to drive Z:.
inline std::string ProgramPath() {
    for (const std::string& arg : ::testing::internal::GetArgvs())
        if (arg.rfind("--app=", 0) == 0) {
            return WindowsPathOf(arg.substr(6));
        }
    return {};
}

// The program as its own process, closed at the end if it still runs.
class AppDriver {
public:
    explicit AppDriver(const std::string& arguments = "") {
        std::string commandLine = "\"" + ProgramPath() + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_))
            ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
    }
    ~AppDriver() {
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
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    // Visible top-level windows of the program (message boxes included).
    std::vector<HWND> TopLevelWindows() const { return VisibleWindowsOf(process_.dwProcessId); }
    // The program's top-level window with this caption, once it appears.
    HWND WaitForWindow(const std::string& caption) const {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND window : TopLevelWindows())
                if (TextOf(window) == caption && !IsMessageBox(window))
                    found = window;
            return found || WaitForExit(0);
        });
        return found;
    }
    // The next message box the program shows, read (title and text) and answered with OK (or the
    // button `choose` gives for it: IDYES, IDNO). The icon cannot be told from here: the
    // program's icon handles do not compare across processes.
    std::optional<AnsweredBox>
    AnswerMessageBox(DWORD timeoutMs = 20000,
                     const std::function<int(const AnsweredBox&)>& choose = {}) const {
        HWND box = nullptr;
        if (!WaitUntil(
                [&] {
                    const auto windows = TopLevelWindows();
                    const auto it = std::find_if(windows.begin(), windows.end(), [](HWND w) {
                        return IsMessageBox(w) || IsMessageBox(w, true);
                    });
                    box = it == windows.end() ? nullptr : *it;
                    return box != nullptr;
                },
                timeoutMs))
            return std::nullopt;
        const AnsweredBox read = ReadMessageBox(box);
        const int button = choose ? choose(read) : IDOK;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitUntil([&] { return !IsWindow(box); }); // so that the next call does not read it again
        return read;
    }
    // Whether a message box shows before the time runs out (it is left open).
    bool WaitForMessageBox(DWORD timeoutMs = 20000) const {
        return WaitUntil(
            [&] {
                const auto windows = TopLevelWindows();
                return std::any_of(windows.begin(), windows.end(),
                                   [](HWND w) { return IsMessageBox(w); });
            },
            timeoutMs);
    }
    // Ends it from outside, as a crash or a switched-off machine would.
    void Kill() const {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    // The program's exit code once it ends, or nothing on time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 20000) const {
        DWORD code = 0;
        if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.hProcess, &code))
            return std::nullopt;
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
};

// Runs the program with a switch to its end: the exit code, and whether it showed any window.
inline std::pair<std::optional<DWORD>, bool> RunSwitch(const std::string& arguments) {
    const AppDriver program(arguments);
    bool window = false;
    WaitUntil([&] {
        window = window || !program.TopLevelWindows().empty();
        return program.WaitForExit(0).has_value();
    });
    return {program.WaitForExit(0), window};
}

// The one child of that class and caption, or none.
inline HWND Child(HWND parent, const std::string& windowClass, const std::string& caption) {
    const auto found = Children(parent, windowClass, caption);
    return found.size() == 1 ? found[0] : nullptr;
}

// Posted, so that a handler that opens a modal box does not block us.
inline void ClickButton(HWND main, const std::string& caption) {
    const auto found = Children(main, "Button", caption);
    ASSERT_EQ(found.size(), 1u) << caption;
    PostMessageA(found[0], BM_CLICK, 0, 0);
}

inline std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            rows.push_back(static_cast<int>(i));
    return rows;
}

// "Select All" and ">>": the whole list becomes the new order, and Process is enabled.
inline bool MoveAll(HWND main) {
    ClickButton(main, "Select All");
    ClickButton(main, ">>");
    const auto process = Children(main, "Button", "Process");
    return process.size() == 1 &&
           WaitUntil([&] { return IsWindowEnabled(process[0]) != FALSE; }, 30000);
}

// Read through the wide message: Wine hands a narrow LB_GETTEXT sent to another process's
// list the row's UTF-16 text unconverted.
inline std::vector<std::string> Rows(HWND list) {
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

} // namespace cwtest
