#include "controls/infoframe/Gradient.h"

#include "win32/Handles.h"

#include <algorithm>
#include <cmath>

namespace cw {
namespace {

// Half to even by hand rather than through the floating-point environment, which a host or a
// library may have left in another rounding mode.
double RoundHalfToEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::uint32_t ClampChannel(std::int32_t value) {
    return static_cast<std::uint32_t>(std::clamp(value, 0, 255));
}

} // namespace

float GradientDivide(float a, float b) {
    if (b == 0.0f)
        return 0.0f;
    return static_cast<float>(a / b);
}

std::int32_t GradientChannel(std::int32_t start, std::int32_t difference, std::int32_t n,
                             std::int32_t k) {
    const float steps = GradientDivide(static_cast<float>(n), static_cast<float>(k));
    const float increment = GradientDivide(static_cast<float>(difference), steps);
    // A double holds the sum of a 16-bit start and a single-precision increment closely enough
    // that no half is lost or made up before rounding.
    return static_cast<std::int32_t>(RoundHalfToEven(static_cast<double>(start) + increment));
}

COLORREF GradientBandColour(GradientRgb from, GradientRgb to, std::int32_t n, std::int32_t k) {
    const auto channel = [n, k](std::int16_t start, std::int16_t end) {
        // Differences are taken in 32 bits: 16-bit channels out of range could overflow 16 bits.
        return ClampChannel(GradientChannel(start, std::int32_t{end} - start, n, k));
    };
    return channel(from.red, to.red) + 256u * channel(from.green, to.green) +
           65536u * channel(from.blue, to.blue);
}

void Gradient::Show(std::int16_t r1, std::int16_t g1, std::int16_t b1, std::int16_t r2,
                    std::int16_t g2, std::int16_t b2) const {
    // GetDC of no window would paint on the screen.
    if (!ownerHwnd_ || !IsWindow(ownerHwnd_))
        return;
    RECT client{};
    if (!GetClientRect(ownerHwnd_, &client))
        return;
    const ClientDC dc(ownerHwnd_);
    if (!dc)
        return;
    // The band past the end is meant to fall outside the client area; clip it there even on a
    // window whose device context is not clipped to its client area (CS_PARENTDC). The saved
    // state keeps the clip from outliving this call on a window that owns its DC.
    const int saved = SaveDC(dc.Get());
    IntersectClipRect(dc.Get(), client.left, client.top, client.right, client.bottom);

    const GradientRgb from{r1, g1, b1};
    const GradientRgb to{r2, g2, b2};
    const std::int32_t n = upDown_ ? client.bottom - client.top : client.right - client.left;
    for (std::int32_t k = 0; k <= n; ++k) {
        const GdiObject<HBRUSH> brush(CreateSolidBrush(GradientBandColour(from, to, n, k)));
        if (!brush)
            continue;
        RECT band{};
        if (upDown_)
            SetRect(&band, client.left, client.top + k, client.right, client.top + k + 1);
        else
            SetRect(&band, client.left + k, client.top, client.left + k + 1, client.bottom);
        FillRect(dc.Get(), &band, brush.Get());
    }
    RestoreDC(dc.Get(), saved);
}

} // namespace cw
