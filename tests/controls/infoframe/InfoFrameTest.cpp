// The gradient painter and the header strip, read back from what they paint.
#include "TempFolder.h"
#include "TestHost.h"
#include "controls/infoframe/Gradient.h"
#include "controls/infoframe/InfoFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace cw;
using namespace cwtest;

namespace {

// How many pixels of the area have the colour.
int CountPixels(HWND hwnd, RECT area, COLORREF colour) {
    int count = 0;
    HDC dc = GetDC(hwnd);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(hwnd, dc);
    return count;
}

constexpr COLORREF kSlate = RGB(80, 97, 121); // the default background, 0x796150
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kIconColour = RGB(200, 30, 60);
constexpr RECT kLabel{56, 21, 56 + 650, 42};
constexpr RECT kIcon{12, 14, 44, 46};

// A 32 x 32 icon file of one opaque colour, as a picture.
Picture IconPicture(const TempFolder& folder) {
    std::string ico;
    for (const unsigned value : {0u, 1u, 1u, 32u | 32u << 8, 0u, 1u, 32u}) // directory entry
        ico.append({static_cast<char>(value), static_cast<char>(value >> 8)});
    const unsigned header[] = {
        40 + 32 * 32 * 4 + 32 * 4, 22, 40, 32, 64, 1 | 32 << 16, 0, 0, 0, 0, 0, 0};
    ico.append(reinterpret_cast<const char*>(header), sizeof header);
    const unsigned bgra = 0xFF000000u | GetRValue(kIconColour) << 16 | GetGValue(kIconColour) << 8 |
                          GetBValue(kIconColour);
    for (int i = 0; i < 32 * 32; ++i)
        ico.append(reinterpret_cast<const char*>(&bgra), 4);
    ico.append(32 * 4, '\0'); // an empty mask
    return *Picture::FromReference("file:" + folder.MakeFile("strip.ico", ico));
}

class InfoFrameTest : public ::testing::Test {
protected:
    InfoFrameTest() {
        host.name = "InfoFrameHeader";
        host.controls = {{"InfoFrameTop", "InfoFrame"},
                         {"InfoFrameHeader", "InfoFrame"},
                         {"LabelCount", "Label"}};
    }
    // Created, docked to the top as on the main window, then started new or from a saved bag.
    std::unique_ptr<InfoFrame> Strip(const PropertyBag* saved = nullptr) {
        auto strip = std::make_unique<InfoFrame>(host);
        host.Attach(strip->Hwnd());
        host.SetAlign(Align::Top);
        strip->Start(saved);
        TestHost::Pump();
        host.changedKeys.clear();
        strip->Click = [this] { ++clicks; };
        strip->DblClick = [this] { ++doubleClicks; };
        return strip;
    }
    static void Mouse(HWND hwnd, UINT msg, int x, int y) {
        SendMessageA(hwnd, msg, 0, MAKELPARAM(x, y));
    }

    TestHost host{721, 300};
    TempFolder folder;
    int clicks = 0, doubleClicks = 0;
};

} // namespace

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

// The lines, the right button and a disabled strip raise nothing; the release that completes a
// double click raises no second Click.
TEST_F(InfoFrameTest, ClicksComeFromBackgroundIconAndTextOfAnEnabledStrip) {
    const auto strip = Strip();
    for (const POINT p : {POINT{3, 3}, POINT{20, 20}, POINT{60, 30}, POINT{700, 60}})
        Mouse(strip->Hwnd(), WM_LBUTTONUP, p.x, p.y);
    EXPECT_EQ(clicks, 4);
    Mouse(strip->Hwnd(), WM_LBUTTONUP, 300, 61);
    Mouse(strip->Hwnd(), WM_LBUTTONDBLCLK, 0, 62);
    Mouse(strip->Hwnd(), WM_LBUTTONUP, 0, 62);
    Mouse(strip->Hwnd(), WM_RBUTTONUP, 100, 30);
    EXPECT_EQ(clicks + doubleClicks, 4);
    for (const UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        Mouse(strip->Hwnd(), msg, 100, 30);
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(doubleClicks, 1);

    // Disabled, the text loses its colour and the icon is greyed, but both are still drawn.
    strip->SetIcon(IconPicture(folder));
    strip->SetForeColor(0x0000FF);
    strip->SetEnabled(false);
    EXPECT_EQ(CountPixels(strip->Hwnd(), kLabel, kRed), 0);
    EXPECT_GT(650 * 21 - CountPixels(strip->Hwnd(), kLabel, kSlate), 20);
    EXPECT_LT(CountPixels(strip->Hwnd(), kIcon, kIconColour), 32 * 32);
    Mouse(strip->Hwnd(), WM_LBUTTONUP, 100, 30);
    Mouse(strip->Hwnd(), WM_LBUTTONDBLCLK, 100, 30);
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(doubleClicks, 1);
}
