#include "controls/infoframe/Gradient.h"

#include "PixelProbe.h"
#include "TestHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using namespace cw;
using namespace cwtest;
using ::testing::Each;
using ::testing::ElementsAre;

namespace {

// The channel values of the visible bands 0 .. n - 1.
std::vector<int> Channels(int start, int end, int n) {
    std::vector<int> values;
    for (int k = 0; k < n; ++k)
        values.push_back(GradientChannel(start, end - start, n, k));
    return values;
}

COLORREF Grey(int level) {
    return RGB(level, level, level);
}

} // namespace

TEST(GradientSteps, StopOneStepShortOfTheEndAndRoundHalvesToEven) {
    EXPECT_THAT(Channels(0, 255, 4), ElementsAre(0, 64, 128, 191));
    EXPECT_EQ(GradientChannel(0, 255, 4, 4), 255); // the band just outside the area
    EXPECT_THAT(Channels(0, 10, 8), ElementsAre(0, 1, 2, 4, 5, 6, 8, 9));
    EXPECT_THAT(Channels(255, 0, 4), ElementsAre(255, 191, 128, 64));
    EXPECT_THAT(Channels(97, 0, 4), ElementsAre(97, 73, 48, 24));
    EXPECT_THAT(Channels(121, 0, 4), ElementsAre(121, 91, 60, 30));
    EXPECT_THAT(Channels(97, 97, 300), Each(97));
    EXPECT_EQ(GradientChannel(7, 100, 0, 0), 7); // an empty area still has its band 0
    // 6 / 5 in single precision is a little above 1.2, so 255 / it falls just short of 212.5:
    // the last band gets 43 where exact arithmetic would give the even 42.
    EXPECT_THAT(Channels(255, 0, 6), ElementsAre(255, 212, 170, 128, 85, 43));
}

TEST(GradientSteps, ChannelsOutOfRangeDoNotSpillIntoTheirNeighbours) {
    EXPECT_EQ(GradientBandColour({300, -5, 128}, {300, -5, 128}, 4, 1), RGB(255, 0, 128));
    EXPECT_EQ(GradientBandColour({-32768, 0, 0}, {32767, 0, 0}, 2, 1), RGB(0, 0, 0));
}

TEST(GradientPainting, PaintsEveryBandAcrossOrDown) {
    TestHost host(200, 100);
    const auto paint = [&](int width, int height, bool upDown, GradientRgb from, GradientRgb to) {
        const HWND window =
            CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                            host.ContainerHwnd(), nullptr, nullptr, nullptr);
        UpdateWindow(window); // its own painting first, then the gradient over it
        Gradient gradient;
        gradient.SetOwnerHwnd(window);
        gradient.SetUpDown(upDown);
        gradient.Show(from.red, from.green, from.blue, to.red, to.green, to.blue);
        return window;
    };
    HWND w = paint(4, 10, false, {0, 0, 0}, {255, 255, 255});
    const std::vector greys{Grey(0), Grey(64), Grey(128), Grey(191)};
    EXPECT_EQ(PixelRow(w, 0, 4), greys);
    EXPECT_EQ(PixelRow(w, 9, 4), greys);
    DestroyWindow(w);

    w = paint(4, 3, false, {80, 97, 121}, {0, 0, 0});
    EXPECT_THAT(PixelRow(w, 1, 4),
                ElementsAre(RGB(80, 97, 121), RGB(60, 73, 91), RGB(40, 48, 60), RGB(20, 24, 30)));
    DestroyWindow(w);

    w = paint(3, 4, true, {255, 255, 255}, {0, 0, 0});
    for (const int y : {0, 1, 2, 3})
        EXPECT_THAT(PixelRow(w, y, 3), Each(Grey(std::vector{255, 191, 128, 64}[y])));
    DestroyWindow(w);

    // No rows: nothing shows, not even the band past the end.
    const COLORREF under = PixelAt(host.ContainerHwnd(), 5, 0);
    w = paint(50, 0, true, {255, 0, 0}, {0, 0, 255});
    EXPECT_EQ(PixelAt(host.ContainerHwnd(), 5, 0), under);
    DestroyWindow(w);
}
