#pragma once
// Starts the real program as its own process and drives it through its windows as a user would:
// clicks on buttons and list rows, keys, answering its message boxes. Nothing in the program knows.
#include "MessageBoxAnswerer.h"
#include "PageDriver.h" // TextOf

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
    AppDriver();
    ~AppDriver(); // closes the program if it still runs
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    // The program's top-level window with this caption, once it appears.
    HWND WaitForWindow(const std::string& caption) const;
    // The next message box the program shows, read (title and text) and answered with OK.
    std::optional<AnsweredBox> AnswerMessageBox() const;
    // Waits for the program to end; its exit code, or nothing on time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 20000) const;
    // Visible top-level windows of the program (message boxes included).
    std::vector<HWND> TopLevelWindows() const;

private:
    PROCESS_INFORMATION process_{};
};

// The child windows of a class, and the one of them with a caption.
std::vector<HWND> FindChildren(HWND parent, const std::string& windowClass);
HWND FindChild(HWND parent, const std::string& windowClass, const std::string& caption);

// Input as the user gives it, posted so that a handler that opens a modal box does not block us.
void ClickButton(HWND button);
void ClickRow(HWND list, int row, WPARAM keys = 0, bool twice = false); // keys: MK_CONTROL...
void PressKey(HWND window, UINT key);
std::vector<std::string> Rows(HWND list);
// Posted input is handled in the program's own time (and a sent message may overtake it): waits
// until `done` holds, or the time runs out (false).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);

} // namespace cwtest
