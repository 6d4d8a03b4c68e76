#include "win32/Twips.h"

#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <climits>

namespace cw {
namespace {

int Clamp(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int>(std::clamp(std::round(value), double{INT_MIN}, double{INT_MAX}));
}

double Usable(double twipsPerPixel) {
    return twipsPerPixel > 0 ? twipsPerPixel : 15.0;
}

double ScreenTwipsPerPixel(int axis) {
    const ClientDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), axis) : 0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

} // namespace

int TwipsToPixels(int twips, double twipsPerPixel) {
    return Clamp(twips / Usable(twipsPerPixel));
}

int TwipsToWindowPixels(int twips, double twipsPerPixel, int low) {
    return std::clamp(TwipsToPixels(twips, twipsPerPixel), low, 32767);
}

int PixelsToTwips(int pixels, double twipsPerPixel) {
    return Clamp(pixels * Usable(twipsPerPixel));
}

int HimetricToTwips(int himetric) {
    return Clamp(himetric * 1440.0 / 2540.0);
}

int TwipsToHimetric(int twips) {
    return Clamp(twips * 2540.0 / 1440.0);
}

double ScreenTwipsPerPixelX() {
    return ScreenTwipsPerPixel(LOGPIXELSX);
}

double ScreenTwipsPerPixelY() {
    return ScreenTwipsPerPixel(LOGPIXELSY);
}

} // namespace cw
