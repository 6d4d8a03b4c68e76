#include "fs/Desktop.h"

#include <windows.h>
#include <commctrl.h>
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

} // namespace cw
