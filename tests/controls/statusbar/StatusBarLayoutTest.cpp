#include "controls/statusbar/Panel.h"
#include "controls/statusbar/StatusBarLayout.h"

#include <gtest/gtest.h>

using namespace cw;

namespace {

PanelMetrics Contents(int textWidth) {
    return {true, sbrContents, 100, textWidth};
}
PanelMetrics Fixed(std::int16_t width, bool visible = true) {
    return {visible, sbrNoAutoSize, width};
}
PanelMetrics Spring(std::int16_t width, bool visible = true) {
    return {visible, sbrSpring, width};
}
using Edges = std::vector<int>;
using Widths = std::vector<std::int16_t>;

TEST(LayoutParts, ContentsContentsSpringEndsAtTheWindowsRightEdge) {
    const int a = 40, b = 55, w = 721;
    const PartLayout l = LayoutParts({Contents(a), Contents(b), Spring(100)}, w);
    EXPECT_EQ(l.rightEdges, (Edges{a + 5, a + b + 12, w}));
    EXPECT_EQ(l.widths, (Widths{a + 5, b + 7, w - a - b - 12}));
}

TEST(LayoutParts, HiddenPanelsGetNoWidthButAHiddenSpringStillTakesTheRoom) {
    // T = 60 + 70; the first visible panel (1), not the hidden one before it, gives up 2 pixels.
    const PartLayout l =
        LayoutParts({Fixed(50, false), Fixed(60), Spring(30, false), Fixed(70)}, 400);
    EXPECT_EQ(l.rightEdges, (Edges{0, 58, 330, 400}));
    EXPECT_EQ(l.widths, (Widths{0, 58, 272, 70}));
}

TEST(LayoutParts, EverySpringTakesTheWholeRoomUnlessThereIsNone) {
    EXPECT_EQ(LayoutParts({Spring(50), Fixed(50), Spring(50), Fixed(50)}, 300).rightEdges,
              (Edges{150, 200, 352, 402}));
    EXPECT_EQ(LayoutParts({Fixed(100), Spring(150)}, 249).rightEdges, (Edges{98, 249}));
    EXPECT_EQ(LayoutParts({Fixed(100), Spring(150)}, 248).rightEdges,
              (Edges{98, 248})); // T = W + 2
    EXPECT_EQ(LayoutParts({Fixed(100), Spring(150)}, 200).rightEdges, (Edges{98, 248}));
    EXPECT_EQ(LayoutParts({Spring(150)}, 100).rightEdges, (Edges{148}));
}

TEST(LayoutParts, TheReductionNeverGivesANegativeWidth) {
    EXPECT_EQ(LayoutParts({Fixed(1), Fixed(10)}, 1000).widths, (Widths{0, 10}));
}

TEST(FontHeight, RoundsPointsHalfToEvenThenScales) {
    EXPECT_EQ(RoundHalfEven(8.5), 8);
    EXPECT_EQ(RoundHalfEven(9.5), 10);
    EXPECT_EQ(RoundHalfEven(9.75), 10);
    EXPECT_EQ(FontHeight(8.25, 96), 11); // 8 * 96 / 72 = 10.67
}

} // namespace
