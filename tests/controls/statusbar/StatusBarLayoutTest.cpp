// The window-free parts of the status bar: the part layout and font heights.
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

// Hidden panels get no width; the first panel with a width gives up 2 pixels; every spring (a
// hidden one too) takes all the room the panels leave, if they leave any.
TEST(LayoutParts, PlacesThePartsAndTheirWidths) {
    const struct {
        std::vector<PanelMetrics> panels;
        int window;
        std::vector<int> edges;
        std::vector<std::int16_t> widths;
    } cases[] = {
        {{Contents(40), Contents(55), Spring(100)}, 721, {45, 107, 721}, {45, 62, 614}},
        {{Fixed(50, false), Fixed(60), Spring(30, false), Fixed(70)},
         400,
         {0, 58, 330, 400},
         {0, 58, 272, 70}},
        {{Spring(50), Fixed(50), Spring(50), Fixed(50)},
         300,
         {150, 200, 352, 402},
         {150, 50, 152, 50}},
        {{Fixed(100), Spring(150)}, 249, {98, 249}, {98, 151}},
        {{Fixed(100), Spring(150)}, 248, {98, 248}, {98, 150}}, // no room left: T = W + 2
        {{Fixed(100), Spring(150)}, 200, {98, 248}, {98, 150}},
        {{Fixed(1), Fixed(10)}, 1000, {0, 10}, {0, 10}}, // never a negative width
        // The total is summed in 32 bits; a width is held to 16.
        {{Spring(32767), Fixed(32767)}, 100000, {67233, 100000}, {32767, 32767}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.edges));
        const PartLayout layout = LayoutParts(c.panels, c.window);
        EXPECT_EQ(layout.rightEdges, c.edges);
        EXPECT_EQ(layout.widths, c.widths);
    }
}

TEST(FontHeight, RoundsPointsHalfToEvenThenScales) {
    for (const auto& [points, whole] : {std::pair{8.5, 8}, {9.5, 10}, {9.75, 10}})
        EXPECT_EQ(RoundHalfEven(points), whole) << points;
    EXPECT_EQ(FontHeight(8.25, 96), 11); // 8 * 96 / 72 = 10.67
}

} // namespace
