#include "fs/Desktop.h"

#include "fs/DesktopView.h"
#include "win32/Com.h"
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
    const ComApartment com(COINIT_APARTMENTTHREADED);
    if (!com.Usable())
        return false;
    ComRef<IShellWindows> windows; // released while COM still runs
    return SUCCEEDED(
               CreateComObject(CLSID_ShellWindows, CLSCTX_ALL, IID_PPV_ARGS(windows.Put()))) &&
           windows && SortDesktopViewByDate(*windows.Get(), oldestFirst);
}

} // namespace cw
