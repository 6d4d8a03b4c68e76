#include "fs/DesktopColumns.h"

#include "win32/Dpi.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

namespace cw {
namespace {

constexpr const char* kHideDesktopIcons =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
constexpr UINT kAskMs = 200;

struct ShellIcon {
    const char* clsid;
    bool shownUnset;
};
constexpr ShellIcon kShellIcons[] = {
    {"{645FF040-5081-101B-9F08-00AA002F954E}", true},  // Recycle Bin
    {"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", false}, // This PC
    {"{59031a47-3f72-44a7-89c5-5595fe6b30ee}", false}, // the user's files
    {"{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}", false}, // Network
    {"{5399E694-6CE5-4D6C-8FCE-1D8870FDCBA0}", false}, // Control Panel
};

// The icon list of the desktop's view: under "Progman", or under a "WorkerW" window once the
// desktop has shown a wallpaper slide show.
HWND DesktopIconList() {
    HWND view = nullptr;
    if (const HWND program = FindWindowA("Progman", nullptr))
        view = FindWindowExA(program, nullptr, "SHELLDLL_DefView", nullptr);
    for (HWND worker = nullptr;
         !view && (worker = FindWindowExA(nullptr, worker, "WorkerW", nullptr)) != nullptr;)
        view = FindWindowExA(worker, nullptr, "SHELLDLL_DefView", nullptr);
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

int PrimaryMonitorDpi() {
    const int dpi = MonitorDpi(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
    return dpi > 0 ? dpi : SystemDpi();
}

} // namespace

int IconsPerColumn(int workAreaHeight, int spacing, int spacingDpi, int screenDpi) {
    const int scaled = MulDiv(spacing, screenDpi, spacingDpi > 0 ? spacingDpi : kDefaultDpi);
    return scaled > 0 ? std::max(1, workAreaHeight / scaled) : 1;
}

int ColumnStartingAt(int row, int perColumn, int shellIcons) {
    const int place = shellIcons + row;
    perColumn = std::max(1, perColumn);
    return row >= 0 && place > 0 && place % perColumn == 0 ? place / perColumn + 1 : 0;
}

std::vector<ColumnRule> ColumnRules(int rows, int perColumn, int shellIcons) {
    std::vector<ColumnRule> rules;
    for (int row = 0; row < rows; ++row)
        if (const int column = ColumnStartingAt(row, perColumn, shellIcons))
            rules.push_back({row, column});
    return rules;
}

int ShellIconsShown() {
    int shown = 0;
    for (const ShellIcon& icon : kShellIcons) {
        DWORD hidden = 0, size = sizeof hidden;
        if (RegGetValueA(HKEY_CURRENT_USER, kHideDesktopIcons, icon.clsid, RRF_RT_REG_DWORD,
                         nullptr, &hidden, &size) == ERROR_SUCCESS)
            shown += hidden == 0;
        else
            shown += icon.shownUnset;
    }
    return shown;
}

DesktopColumns QueryDesktopColumns() {
    DesktopColumns columns;
    columns.shellIcons = ShellIconsShown();
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int height = work.bottom - work.top;
    DWORD_PTR spacing = 0;
    if (const HWND icons = DesktopIconList();
        icons &&
        SendMessageTimeoutA(icons, LVM_GETITEMSPACING, FALSE, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                            kAskMs, &spacing) &&
        HIWORD(spacing) > 0) {
        columns.perColumn = IconsPerColumn(height, HIWORD(spacing), kDefaultDpi, kDefaultDpi);
        columns.fromIconView = true;
        return columns;
    }
    int systemSpacing = 0;
    SystemParametersInfoA(SPI_ICONVERTICALSPACING, 0, &systemSpacing, 0);
    columns.perColumn = IconsPerColumn(height, systemSpacing, SystemDpi(), PrimaryMonitorDpi());
    return columns;
}

} // namespace cw
