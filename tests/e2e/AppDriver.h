#pragma once
// Starts the real program as its own process and drives it through its windows as a user would:
// clicks on buttons and list rows, keys, answering its message boxes. Nothing in the program knows.
#include "MessageBoxAnswerer.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cwtest {

// The program under test: from the command line (--app=<path>), a Linux path mapped to drive Z:.
std::string ProgramPath();

class AppDriver {
public:
    // Starts the program with these command-line arguments.
    explicit AppDriver(const std::string& arguments = "");
    ~AppDriver(); // closes the program if it still runs
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    // The program's visible top-level window with this caption, once it appears.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 20000) const;
    // The next message box the program shows; it is read and then answered with OK.
    std::optional<AnsweredBox> AnswerMessageBox(DWORD timeoutMs = 20000) const;
    // Waits for the program to end; its exit code, or nothing on time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 20000) const;
    // Visible top-level windows of the program (message boxes included).
    std::vector<HWND> TopLevelWindows() const;
    DWORD ProcessId() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
};

// Window helpers that work across processes.
HWND FindChild(HWND parent, const std::string& windowClass, const std::string& caption);
std::vector<HWND> FindChildren(HWND parent, const std::string& windowClass);
std::string TextOf(HWND window);

// Input as the user gives it, posted so that a handler that opens a modal box does not block us.
void ClickButton(HWND button);
void ClickRow(HWND list, int row, WPARAM keys = 0); // keys: MK_CONTROL, MK_SHIFT
void DoubleClickRow(HWND list, int row);
void PressKey(HWND window, UINT key);
std::vector<std::string> Rows(HWND list);
std::vector<int> SelectedRows(HWND list);
// Posted input is handled in the program's own time (and a sent message may overtake it): waits
// until `done` holds, or the time runs out (false).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

} // namespace cwtest
