#include "controls/statusbar/StatusBarLayout.h"

#include "controls/statusbar/Panel.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <limits>

namespace cw {

PartLayout LayoutParts(const std::vector<PanelMetrics>& panels, int containerWidth) {
    const size_t n = panels.size();
    std::vector<int> width(n);
    // 32-bit sums: a long row of wide panels must not overflow.
    int total = 0;
    for (size_t i = 0; i < n; ++i) {
        const PanelMetrics& p = panels[i];
        if (!p.visible)
            width[i] = 0;
        else if (p.autoSize == sbrContents)
            width[i] = p.textWidth + p.padding;
        else
            width[i] = p.minWidth;
        total += width[i];
    }
    // The reduction does not change the total, so springs still leave those 2 pixels free.
    for (int& w : width) {
        if (w > 0) {
            w = std::max(0, w - 2);
            break;
        }
    }

    PartLayout layout;
    layout.rightEdges.resize(n);
    layout.widths.resize(n);
    const int room = containerWidth - total + 2;
    int position = 0;
    for (size_t i = 0; i < n; ++i) {
        const int left = position;
        if (panels[i].autoSize == sbrSpring && room > 0)
            position += room;
        position += width[i];
        layout.rightEdges[i] = position;
        layout.widths[i] = static_cast<std::int16_t>(
            std::clamp(position - left, 0, int{std::numeric_limits<std::int16_t>::max()}));
    }
    return layout;
}

std::string PartText(std::int32_t alignment, const std::string& text) {
    return std::string(static_cast<size_t>(std::clamp(alignment, 0, 2)), '\t') + text;
}

unsigned PartTextFlags(std::int32_t bevel) {
    switch (bevel) {
    case sbrNoBevel:
        return SBT_NOBORDERS;
    case sbrRaised:
        return SBT_POPOUT;
    default:
        return 0;
    }
}

int RoundHalfEven(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<int>(std::clamp(whole, -32768.0, 32767.0));
}

int FontHeight(double points, int logPixelsY) {
    return MulDiv(RoundHalfEven(points), logPixelsY, 72);
}

} // namespace cw
