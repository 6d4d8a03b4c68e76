#pragma once
// Scale: the dots per inch a window is shown at, and what follows from it. Lengths the windows are
// designed in (twips, points, pixels at 96 dpi) are converted with the window's own DPI, so that a
// window looks the same, only larger, on a screen with a larger scale.
#include <windows.h>

namespace cw {

constexpr int kDefaultDpi = 96;

// The DPI of the screen the window is shown on (GetDpiForWindow where the system has it, the
// screen's LOGPIXELSY before that).
int WindowDpi(HWND hwnd);
// The DPI new windows start at.
int SystemDpi();
// The scale the user set for `monitor` (GetDpiForMonitor, found on first use from the system
// folder); 0 where the system cannot say.
int MonitorDpi(HMONITOR monitor);

// A length given in pixels at 96 dpi, at `dpi`.
int ScaleForDpi(int pixelsAt96, int dpi);
// 1440 / dpi: 15 at 96, 10 at 144.
double TwipsPerPixelAt(int dpi);
// The DPI a twips-per-pixel value stands for.
int DpiOfTwipsPerPixel(double twipsPerPixel);

// GetSystemMetricsForDpi and AdjustWindowRectExForDpi, scaling the system's values where those
// are not there.
int SystemMetricForDpi(int index, int dpi);
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

} // namespace cw
