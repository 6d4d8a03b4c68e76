#include "controls/infoframe/Gradient.h"

#include "PixelProbe.h"
#include "TestHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace cw;
using namespace cwtest;
using ::testing::Each;
using ::testing::ElementsAre;

// Band k of n: single-precision quotients, the sum rounded half to even; band n, just past the
// area, is the end colour.
TEST(GradientSteps, StopOneStepShortOfTheEndAndRoundHalvesToEven) {
    const struct {
        int start, end, n;
        std::vector<int> bands;
    } cases[] = {
        {0, 255, 4, {0, 64, 128, 191, 255}},
        {0, 10, 8, {0, 1, 2, 4, 5, 6, 8, 9}},
        {255, 0, 4, {255, 191, 128, 64}},
        {97, 0, 4, {97, 73, 48, 24}},
        {121, 0, 4, {121, 91, 60, 30}},
        {7, 100, 0, {7}}, // an empty area still has its band 0
        // 6 / 5 in single precision is a little above 1.2, so 255 / it falls just short of
        // 212.5: the last band gets 43 where exact arithmetic would give the even 42.
        {255, 0, 6, {255, 212, 170, 128, 85, 43}},
    };
    for (const auto& c : cases) {
        std::vector<int> bands;
        for (int k = 0; k < static_cast<int>(c.bands.size()); ++k)
            bands.push_back(GradientChannel(c.start, c.end - c.start, c.n, k));
        EXPECT_EQ(bands, c.bands) << c.start << " to " << c.end << " in " << c.n;
    }
    EXPECT_EQ(GradientChannel(97, 0, 300, 299), 97);
    // Channels are held to 0..255, so none spills into its neighbour.
    EXPECT_EQ(GradientBandColour({300, -5, 128}, {300, -5, 128}, 4, 1), RGB(255, 0, 128));
    EXPECT_EQ(GradientBandColour({-32768, 0, 0}, {32767, 0, 0}, 2, 1), RGB(0, 0, 0));
}

TEST(GradientPainting, PaintsEveryBandAcrossOrDown) {
    TestHost host(200, 100);
    // A plain child painted first, then the gradient over it.
    const auto paint = [&](int width, int height, bool upDown, GradientRgb from, GradientRgb to) {
        const HWND window =
            CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                            host.ContainerHwnd(), nullptr, nullptr, nullptr);
        UpdateWindow(window);
        Gradient gradient;
        gradient.SetOwnerHwnd(window);
        gradient.SetUpDown(upDown);
        gradient.Show(from.red, from.green, from.blue, to.red, to.green, to.blue);
        return window;
    };
    HWND w = paint(4, 3, false, {80, 97, 121}, {0, 0, 0});
    for (const int y : {0, 2})
        EXPECT_THAT(PixelRow(w, y, 4), ElementsAre(RGB(80, 97, 121), RGB(60, 73, 91),
                                                   RGB(40, 48, 60), RGB(20, 24, 30)));
    DestroyWindow(w);
    w = paint(3, 4, true, {255, 255, 255}, {0, 0, 0});
    for (const int y : {0, 1, 2, 3})
        EXPECT_THAT(PixelRow(w, y, 3), Each(GradientBandColour({255, 255, 255}, {}, 4, y)));
    DestroyWindow(w);
    // No rows: nothing shows, not even the band past the end.
    const COLORREF under = PixelAt(host.ContainerHwnd(), 5, 0);
    w = paint(50, 0, true, {255, 0, 0}, {0, 0, 255});
    EXPECT_EQ(PixelAt(host.ContainerHwnd(), 5, 0), under);
    DestroyWindow(w);
}
