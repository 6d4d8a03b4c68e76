#include "fs/DesktopView.h"

#include "win32/Handles.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shlguid.h>
#include <shobjidl.h>

namespace cw {
namespace {

// The shell's "Date modified" column (the system's PKEY_DateModified), spelt out here so that
// no property library is needed for this one key.
const PROPERTYKEY kDateModified = {
    {0xB725F130, 0x47EF, 0x101A, {0xA5, 0xF1, 0x02, 0x60, 0x8C, 0x9E, 0xEB, 0xAC}}, 14};

} // namespace

bool SortDesktopViewByDate(IShellWindows& windows, bool oldestFirst) {
    // The desktop has no location to name: both locations stay empty.
    VARIANT none{};
    none.vt = VT_EMPTY;
    LONG window = 0;
    ComRef<IDispatch> desktop;
    // A success without an object (S_FALSE: no such window) is a failure here too.
    if (FAILED(windows.FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                    desktop.Put())) ||
        !desktop)
        return false;
    ComRef<IServiceProvider> services;
    if (FAILED(desktop->QueryInterface(IID_PPV_ARGS(services.Put()))) || !services)
        return false;
    ComRef<IShellBrowser> browser;
    if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(browser.Put()))) ||
        !browser)
        return false;
    ComRef<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.Put())) || !view)
        return false;
    ComRef<IFolderView2> folderView;
    if (FAILED(view->QueryInterface(IID_PPV_ARGS(folderView.Put()))) || !folderView)
        return false;
    const SORTCOLUMN byDate{kDateModified, oldestFirst ? SORT_ASCENDING : SORT_DESCENDING};
    return SUCCEEDED(folderView->SetSortColumns(&byDate, 1)) &&
           SUCCEEDED(folderView->SetCurrentFolderFlags(FWF_AUTOARRANGE, FWF_AUTOARRANGE));
}

} // namespace cw
