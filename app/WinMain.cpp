// The program's entry: loads the main window, shows it and runs the message loop until it closes;
// or runs one command-line switch without a window.
#include "app/AllUsersRights.h"
#include "app/CommandLine.h"
#include "app/FormClutterwise.h"
#include "app/Startup.h"
#include "controls/Components.h"
#include "win32/Program.h"
#include "win32/Trace.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // The step that stamps the desktop of all users may run with an administrator's rights: it
    // comes before any window or instance test, and loads libraries from the system folder only.
    if (const auto request = cw::StepRequestOf(commandLine ? commandLine : "")) {
        SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return cw::RunStepSwitch(*request);
    }

    // A switch runs beside an open window: it takes no part in the single-instance test.
    const cw::Switch which = cw::ReadSwitch(commandLine ? commandLine : "");
    if (which == cw::Switch::Unknown) {
        cw::Program::SetTitle(cw::ProgramTitle(cw::Program::Version().companyName));
        cw::Program::MsgBox(cw::kUsage, cw::MessageIcon::Exclamation);
        return cw::kExitUsage;
    }
    if (which != cw::Switch::None)
        return cw::RunSwitch(which);

    {
        // Its start tells how long the program and its libraries took to load.
        const cw::TraceStep trace("common controls");
        INITCOMMONCONTROLSEX icc{};
        icc.dwSize = sizeof icc;
        icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES;
        InitCommonControlsEx(&icc);
        cw::RegisterComponents();
    }

    cw::FormClutterwise form;
    if (!form.Load()) {
        // A start-up that ended the program has said what it had to; a broken design has not.
        if (!form.LoadError().empty())
            cw::Program::MsgBox(form.LoadError(), cw::MessageIcon::Exclamation);
        return 0;
    }
    form.Show();
    return form.RunMessageLoop();
}
