// The designer's entry: opens the design named on the command line, if any, and runs until the
// designer is closed.
#include "controls/Components.h"
#include "tools/designer/ComponentKinds.h"
#include "tools/designer/DesignerWindow.h"
#include "win32/Program.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

// One path, in quotes when it holds blanks.
std::string PathArgument(const char* commandLine) {
    std::string path = commandLine ? commandLine : "";
    const size_t first = path.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    path.erase(0, first);
    path.erase(path.find_last_not_of(" \t") + 1);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int show) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    cw::RegisterComponents();
    cw::Program::SetTitle("Clutterwise Designer"); // the title of its failure reports

    cw::DesignerWindow designer;
    if (!designer.Create())
        return 1;
    ShowWindow(designer.Hwnd(), show);
    if (const std::string path = PathArgument(commandLine); !path.empty())
        designer.OpenFile(path);
    return designer.Run();
}
