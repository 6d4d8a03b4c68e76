#pragma once
// Paints a linear two-colour gradient over the whole client area of a window, one pixel-wide band
// at a time, from the top row down (UpDown) or from the left column across.
//
// A client area of n pixels in the painted direction gets bands 0 .. n - 1; band k has
// start + difference / (n / k) in each channel, both quotients in single precision and the sum
// rounded half to even. The end colour itself belongs to band n, just outside the client area, so
// the last visible band is one step short of it.
#include <windows.h>

#include <cstdint>

namespace cw {

// Three colour channels, each meant to lie in 0..255.
struct GradientRgb {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;
};

// a / b in single precision; 0 when b is 0.
float GradientDivide(float a, float b);

// One channel of band k of n: start + difference / (n / k), rounded half to even. Band 0 is the
// start value, band n the end value (start + difference).
std::int32_t GradientChannel(std::int32_t start, std::int32_t difference, std::int32_t n,
                             std::int32_t k);

// The colour of band k of n from `from` to `to`, each channel held to 0..255 so that a value out
// of range never spills into its neighbour.
COLORREF GradientBandColour(GradientRgb from, GradientRgb to, std::int32_t n, std::int32_t k);

class Gradient {
public:
    // The window whose client area Show paints.
    HWND OwnerHwnd() const { return ownerHwnd_; }
    void SetOwnerHwnd(HWND hwnd) { ownerHwnd_ = hwnd; }

    // True: the colour changes from the top row to the bottom row; false: from left to right.
    bool UpDown() const { return upDown_; }
    void SetUpDown(bool upDown) { upDown_ = upDown; }

    // Paints the gradient from (r1, g1, b1) to (r2, g2, b2) now, through the window's own device
    // context. Paints nothing without a window or client area; a band whose brush cannot be made
    // stays as it was.
    void Show(std::int16_t r1, std::int16_t g1, std::int16_t b1, std::int16_t r2, std::int16_t g2,
              std::int16_t b2) const;

private:
    HWND ownerHwnd_ = nullptr;
    bool upDown_ = false;
};

} // namespace cw
