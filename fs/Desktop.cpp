#include "fs/Desktop.h"

#include "fs/DesktopView.h"
#include "win32/Handles.h"

#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <shlobj.h>

namespace cw {

// The shell's desktop: a "Progman" window, its view window, and the icon list view below that.
void Desktop::Arrange() const {
    const HWND program = FindWindowA("Progman", nullptr);
    if (!program)
        return;
    const HWND view = GetWindow(program, GW_CHILD);
    if (!view)
        return;
    const HWND icons = GetWindow(view, GW_CHILD);
    if (!icons)
        return;
    SendMessageA(icons, LVM_ARRANGE, LVA_DEFAULT, 0);
}

void Desktop::Refresh() const {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
}

bool Desktop::SortByDate(bool oldestFirst) const {
    // A thread that runs COM in the other model (RPC_E_CHANGED_MODE) can still make the calls;
    // only a start made here is ended here.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(started) && started != RPC_E_CHANGED_MODE)
        return false;
    bool sorted = false;
    {
        ComRef<IShellWindows> windows;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL,
                                       IID_PPV_ARGS(windows.Put()))) &&
            windows)
            sorted = SortDesktopViewByDate(*windows.Get(), oldestFirst);
    } // released while COM still runs
    if (SUCCEEDED(started))
        CoUninitialize();
    return sorted;
}

} // namespace cw
