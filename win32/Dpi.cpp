#include "win32/Dpi.h"

#include "win32/Handles.h"
#include "win32/SystemFunction.h"

#include <shellscalingapi.h>

#include <cmath>

namespace cw {
namespace {

// Looked up at run time: a system without them (before Windows 10 1607) still runs the program.
template <typename Function> Function User32(const char* name) {
    static const HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(
                        reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                  : nullptr;
}

int ScreenDpi() {
    const ClientDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

} // namespace

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
    const int dpi = hwnd && getDpiForWindow ? static_cast<int>(getDpiForWindow(hwnd)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

int SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto getDpiForSystem = User32<GetDpiForSystemFn>("GetDpiForSystem");
    const int dpi = getDpiForSystem ? static_cast<int>(getDpiForSystem()) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

int MonitorDpi(HMONITOR monitor) {
    static const SystemFunction<decltype(GetDpiForMonitor)> forMonitor("shcore.dll",
                                                                       "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (!forMonitor || forMonitor.Get()(monitor, MDT_EFFECTIVE_DPI, &x, &y) != S_OK)
        return 0;
    return static_cast<int>(y); // the effective scale is the same across and down
}

int ScaleForDpi(int pixelsAt96, int dpi) {
    return MulDiv(pixelsAt96, dpi > 0 ? dpi : kDefaultDpi, kDefaultDpi);
}

double TwipsPerPixelAt(int dpi) {
    return 1440.0 / (dpi > 0 ? dpi : kDefaultDpi);
}

int DpiOfTwipsPerPixel(double twipsPerPixel) {
    return twipsPerPixel > 0 ? static_cast<int>(std::lround(1440.0 / twipsPerPixel)) : kDefaultDpi;
}

int SystemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = User32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi && forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

} // namespace cw
