#include "forms/FormLayout.h"

#include "forms/ComponentSite.h"
#include "forms/FormChildren.h"
#include "win32/Dpi.h"
#include "win32/Twips.h"

#include <algorithm>
#include <cstdlib>

namespace cw {
namespace {

// Twips give a length in pixels rounded either way: a window's size rounds half a pixel up.
bool GivesPixels(int twips, double perPixel, int pixels) {
    return TwipsToPixels(twips, perPixel) == pixels ||
           TwipsToWindowPixels(twips, perPixel) == pixels;
}

} // namespace

RECT FitWithin(RECT window, const RECT& workArea) {
    const LONG width = std::min(window.right - window.left, workArea.right - workArea.left);
    const LONG height = std::min(window.bottom - window.top, workArea.bottom - workArea.top);
    const LONG left = std::clamp(window.left, workArea.left, workArea.right - width);
    const LONG top = std::clamp(window.top, workArea.top, workArea.bottom - height);
    return {left, top, left + width, top + height};
}

void FormLayout::Read(const PropertyBag& layout) {
    startUpPosition_ = layout.ReadInt32("startupposition", 3).value_or(3);
    left_ = layout.ReadInt32("left", 0).value_or(0);
    top_ = layout.ReadInt32("top", 0).value_or(0);
    clientWidth_ = layout.ReadInt32("clientwidth", 4800).value_or(4800);
    clientHeight_ = layout.ReadInt32("clientheight", 3600).value_or(3600);
    SetDpi(SystemDpi());
}

void FormLayout::SetDpi(int dpi) {
    dpi_ = dpi;
    twipsPerPixelX_ = twipsPerPixelY_ = TwipsPerPixelAt(dpi);
}

SIZE FormLayout::DesignedWindowSize(DWORD style, DWORD exStyle) const {
    RECT r{0, 0, TwipsToWindowPixels(clientWidth_, twipsPerPixelX_),
           TwipsToWindowPixels(clientHeight_, twipsPerPixelY_)};
    AdjustWindowRectForDpi(r, style, exStyle, dpi_);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE FormLayout::ClientTwips(HWND form) const {
    RECT client{};
    if (form)
        GetClientRect(form, &client);
    const auto twips = [](int pixels, int designed, double perPixel) {
        return GivesPixels(designed, perPixel, pixels) ? designed : PixelsToTwips(pixels, perPixel);
    };
    return {twips(client.right, clientWidth_, twipsPerPixelX_),
            twips(client.bottom, clientHeight_, twipsPerPixelY_)};
}

SIZE FormLayout::KeptTwips(HWND form) const {
    const SIZE twips = ClientTwips(form);
    return {std::max<LONG>(twips.cx, clientWidth_), std::max<LONG>(twips.cy, clientHeight_)};
}

void FormLayout::LimitTracking(HWND form, MINMAXINFO& limits) const {
    // The frame as it is drawn now, which the system may not scale with the client area.
    RECT window{}, client{};
    GetWindowRect(form, &window);
    GetClientRect(form, &client);
    LONG width =
        window.right - window.left - client.right + TwipsToPixels(clientWidth_, twipsPerPixelX_);
    LONG height =
        window.bottom - window.top - client.bottom + TwipsToPixels(clientHeight_, twipsPerPixelY_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST), &monitor)) {
        width = std::min(width, monitor.rcWork.right - monitor.rcWork.left);
        height = std::min(height, monitor.rcWork.bottom - monitor.rcWork.top);
    }
    limits.ptMinTrackSize = {width, height};
}

void FormLayout::FitWorkArea(HWND form) const {
    if (!form || IsIconic(form) || IsZoomed(form))
        return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    RECT window{};
    GetWindowRect(form, &window);
    const RECT fitted = FitWithin(window, monitor.rcWork);
    if (!EqualRect(&fitted, &window))
        SetWindowPos(form, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                     fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE FormLayout::WindowSizeAt(HWND form, int dpi) const {
    const SIZE twips = KeptTwips(form);
    const double perPixel = TwipsPerPixelAt(dpi);
    RECT r{0, 0, TwipsToWindowPixels(twips.cx, perPixel), TwipsToWindowPixels(twips.cy, perPixel)};
    AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongPtrA(form, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(form, GWL_EXSTYLE)), dpi);
    return {r.right - r.left, r.bottom - r.top};
}

void FormLayout::FitClient(HWND form, SIZE twips) const {
    if (IsIconic(form) || IsZoomed(form))
        return;
    RECT window{}, client{};
    GetWindowRect(form, &window);
    GetClientRect(form, &client);
    const int dx = TwipsToWindowPixels(twips.cx, twipsPerPixelX_) - client.right;
    const int dy = TwipsToWindowPixels(twips.cy, twipsPerPixelY_) - client.bottom;
    if (dx != 0 || dy != 0)
        SetWindowPos(form, nullptr, 0, 0, window.right - window.left + dx,
                     window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormLayout::PlaceAtFirstShow(HWND form, HWND visibleOwner) const {
    if (startUpPosition_ == 0) {
        SetWindowPos(form, nullptr, TwipsToPixels(left_, twipsPerPixelX_),
                     TwipsToPixels(top_, twipsPerPixelY_), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (startUpPosition_ != 1 && startUpPosition_ != 2)
        return;
    RECT window{};
    GetWindowRect(form, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    RECT area{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (startUpPosition_ == 1 && visibleOwner) {
        GetWindowRect(visibleOwner, &area);
    } else if (GetMonitorInfoA(
                   MonitorFromWindow(visibleOwner ? visibleOwner : form, MONITOR_DEFAULTTOPRIMARY),
                   &monitor)) {
        area = monitor.rcWork;
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Over an owner near the screen's edge, stay on the screen.
    if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        x = std::max<int>(monitor.rcWork.left, std::min<int>(x, monitor.rcWork.right - width));
        y = std::max<int>(monitor.rcWork.top, std::min<int>(y, monitor.rcWork.bottom - height));
    }
    SetWindowPos(form, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormLayout::Dock(HWND form) {
    if (docking_ > 0) {
        dockAgain_ = true; // a component resized itself while being placed
        return;
    }
    ++docking_;
    Grow(form);
    for (int round = 0; round < 4; ++round) {
        dockAgain_ = false;
        DockOnce(form);
        if (!dockAgain_)
            break;
    }
    --docking_;
}

// The controls follow the client area's size as their grow keys say.
void FormLayout::Grow(HWND form) {
    if (!form || IsIconic(form))
        return;
    const SIZE twips = ClientTwips(form);
    const SIZE growth{twips.cx - clientWidth_, twips.cy - clientHeight_};
    if (growth.cx == growth_.cx && growth.cy == growth_.cy)
        return;
    growth_ = growth;
    children_.Reposition();
}

void FormLayout::DockOnce(HWND form) {
    if (!form)
        return;
    RECT client{};
    GetClientRect(form, &client);
    const int width = client.right;
    int top = 0, bottom = client.bottom;
    for (const FormChildren::ComponentEntry& entry : children_.Components()) {
        ComponentSite& site = *entry.site;
        HWND window = site.Window();
        if (!window)
            continue;
        const int h = TwipsToWindowPixels(site.Height(), twipsPerPixelY_);
        int x = 0, y = 0, w = width;
        switch (site.GetAlign()) {
        case Align::Top:
            y = top;
            top += h;
            break;
        case Align::Bottom:
            bottom -= h;
            y = bottom;
            break;
        default:
            x = TwipsToWindowPixels(site.Left(), twipsPerPixelX_, -32768);
            y = TwipsToWindowPixels(site.Top(), twipsPerPixelY_, -32768);
            w = TwipsToWindowPixels(site.Width(), twipsPerPixelX_);
        }
        // A docked component is as wide as the client area, in its twips: a design saved at
        // another scale stays as it was, whatever sizes the window passed through meanwhile.
        const int widthTwips = site.GetAlign() == Align::None ? site.Width() : ClientTwips(form).cx;
        site.SetPlace(PixelsToTwips(x, twipsPerPixelX_), PixelsToTwips(y, twipsPerPixelY_),
                      widthTwips, site.Height());
        MoveWindow(window, x, y, w, h, TRUE);
    }
}

} // namespace cw
