// The program's entry: loads the main window, shows it and runs the message loop until it closes.
#include "app/FormClutterwise.h"
#include "controls/Components.h"
#include "win32/Program.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    cw::RegisterComponents();

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
