#pragma once
// The window-free arithmetic of the status bar: part widths and right edges, the text and flags
// sent for a panel, and font heights.
#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// What the layout needs to know of one panel.
struct PanelMetrics {
    bool visible = true;
    std::int32_t autoSize = 0;   // sbrNoAutoSize, sbrSpring or sbrContents
    std::int16_t minWidth = 100; // pixels
    int textWidth = 0;           // pixels, the measured Text; used for sbrContents only
    int padding = 7;             // pixels added to the text's width for sbrContents
};

struct PartLayout {
    std::vector<int> rightEdges;      // for SB_SETPARTS
    std::vector<std::int16_t> widths; // each panel's ActualWidth
};

// Hidden panels get no width; the first panel with a width gives up 2 pixels to the bar's left
// border; while the panels leave room in a holding window `containerWidth` pixels wide, every
// spring panel (hidden ones too) takes all of that room.
PartLayout LayoutParts(const std::vector<PanelMetrics>& panels, int containerWidth);

// A panel's text as the native bar takes it: one tab per alignment step (centre, right) first.
std::string PartText(std::int32_t alignment, const std::string& text);
// SB_SETTEXT flags for a bevel: sbrNoBevel SBT_NOBORDERS, sbrInset none, sbrRaised SBT_POPOUT.
unsigned PartTextFlags(std::int32_t bevel);

// Whole points, halves to the even neighbour (8.5 gives 8, 9.5 gives 10).
int RoundHalfEven(double value);
// Character height in pixels of a font of `points` on a device with `logPixelsY` dots per inch.
int FontHeight(double points, int logPixelsY);

} // namespace cw
