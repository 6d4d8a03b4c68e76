#include "app/WindowPlace.h"

#include "forms/FormLayout.h"
#include "fs/DurableReplace.h"
#include "fs/FileActions.h"
#include "win32/Dpi.h"

#include <cstdio>

namespace cw {

std::string KeptPlaceText(const KeptPlace& place) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld %d %d\r\n", place.rect.left, place.rect.top,
                  place.rect.right, place.rect.bottom, place.dpi, place.maximised ? 1 : 0);
    return text;
}

std::optional<KeptPlace> ReadKeptPlace(std::string_view text) {
    const std::string copy(text.substr(0, 127));
    KeptPlace place;
    int maximised = 0;
    char rest = 0;
    if (std::sscanf(copy.c_str(), "%ld %ld %ld %ld %d %d %c", &place.rect.left, &place.rect.top,
                    &place.rect.right, &place.rect.bottom, &place.dpi, &maximised, &rest) != 6)
        return std::nullopt;
    if (place.rect.right <= place.rect.left || place.rect.bottom <= place.rect.top ||
        place.dpi < 48 || place.dpi > 960 || (maximised != 0 && maximised != 1))
        return std::nullopt;
    place.maximised = maximised == 1;
    return place;
}

std::optional<RECT> RestoredRect(const KeptPlace& place) {
    const POINT centre{place.rect.left + (place.rect.right - place.rect.left) / 2,
                       place.rect.top + (place.rect.bottom - place.rect.top) / 2};
    const HMONITOR monitor = MonitorFromPoint(centre, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoA(monitor, &info))
        return std::nullopt;
    const int known = MonitorDpi(monitor);
    const int dpi = known > 0 ? known : WindowDpi(GetDesktopWindow());
    RECT rect = place.rect;
    rect.right = rect.left + MulDiv(place.rect.right - place.rect.left, dpi, place.dpi);
    rect.bottom = rect.top + MulDiv(place.rect.bottom - place.rect.top, dpi, place.dpi);
    return FitWithin(rect, info.rcWork);
}

std::string KeptPlacePath(const std::string& folder) {
    return folder.empty() ? std::string() : folder + "window.txt";
}

bool KeepWindowPlace(HWND window, const std::string& path) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (path.empty() || !GetWindowPlacement(window, &placement))
        return false;
    // The normal rectangle is in work-area coordinates; the monitor's offset makes it the screen's.
    KeptPlace place{placement.rcNormalPosition, WindowDpi(window), IsZoomed(window) != FALSE};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        OffsetRect(&place.rect, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
    const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    return MakeFolderChain(folder) && ReplaceDurably(path, KeptPlaceText(place)) == 0;
}

bool RestoreWindowPlace(HWND window, const std::string& path) {
    const std::optional<std::string> text = path.empty() ? std::nullopt : ReadWholeFile(path, 4096);
    const std::optional<KeptPlace> place = text ? ReadKeptPlace(*text) : std::nullopt;
    const std::optional<RECT> rect = place ? RestoredRect(*place) : std::nullopt;
    if (!rect)
        return false;
    SetWindowPos(window, nullptr, rect->left, rect->top, rect->right - rect->left,
                 rect->bottom - rect->top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (place->maximised)
        ShowWindow(window, SW_SHOWMAXIMIZED);
    return true;
}

} // namespace cw
