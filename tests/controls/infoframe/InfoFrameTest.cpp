#include "InfoFrame.h"

#include "Gradient.h"
#include "Pixels.h"
#include "TempFolder.h"
#include "TestHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

using namespace cw;
using namespace cwtest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr COLORREF kSlate = RGB(80, 97, 121); // the default background, 0x796150
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr RECT kLabel{56, 21, 56 + 650, 42};
constexpr COLORREF kIconColour = RGB(200, 30, 60);

// A 32 x 32 icon file of one opaque colour.
std::string IconFile(const TempFolder& folder, COLORREF colour) {
    std::string ico;
    const auto put = [&ico](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            ico += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const std::uint32_t imageSize = 40 + 32 * 32 * 4 + 32 * 4;
    put(0, 2), put(1, 2), put(1, 2);                           // icon directory, one image
    put(32, 1), put(32, 1), put(0, 1), put(0, 1);              // 32 x 32, no palette
    put(1, 2), put(32, 2), put(imageSize, 4), put(22, 4);      // planes, bits, size, offset
    put(40, 4), put(32, 4), put(64, 4), put(1, 2), put(32, 2); // colour and mask rows
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    for (int i = 0; i < 32 * 32; ++i)
        put(GetBValue(colour) | GetGValue(colour) << 8 | GetRValue(colour) << 16 | 0xFFu << 24, 4);
    for (int i = 0; i < 32; ++i)
        put(0, 4);
    return folder.MakeFile("strip.ico", ico);
}

int CountPixels(HWND hwnd, const RECT& area, COLORREF colour) {
    int count = 0;
    HDC dc = GetDC(hwnd);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(hwnd, dc);
    return count;
}

class InfoFrameTest : public ::testing::Test {
  protected:
    InfoFrameTest() {
        host.name = "InfoFrameHeader";
        host.controls = {{"InfoFrameTop", "InfoFrame"},
                         {"CommandProcess", "CommandButton"},
                         {"InfoFrameHeader", "InfoFrame"},
                         {"LabelCount", "Label"}};
    }

    // A strip as a designer drops it: created, docked to the top as on the main window, given its
    // first properties.
    std::unique_ptr<InfoFrame> NewStrip() {
        auto strip = std::make_unique<InfoFrame>(host);
        host.Attach(strip->Hwnd());
        host.SetAlign(Align::Top);
        strip->InitProperties();
        TestHost::Pump();
        host.changedKeys.clear();
        return strip;
    }

    // A strip loaded from a saved design.
    std::unique_ptr<InfoFrame> LoadedStrip(const PropertyBag& bag) {
        auto strip = std::make_unique<InfoFrame>(host);
        host.Attach(strip->Hwnd());
        host.SetAlign(Align::Top);
        strip->ReadProperties(bag);
        TestHost::Pump();
        return strip;
    }

    static SIZE WindowSize(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    static void Press(HWND hwnd, UINT msg, int x, int y) {
        SendMessageA(hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }

    TestHost host{721, 300};
};

} // namespace

TEST_F(InfoFrameTest, NewStripPaintsThePlainHeader) {
    const auto strip = NewStrip();
    EXPECT_EQ(strip->BackColor(), 0x796150u);
    EXPECT_EQ(strip->GradientColor(), 0x796150u);
    EXPECT_EQ(strip->ForeColor(), 0u);
    EXPECT_TRUE(strip->Enabled());
    EXPECT_FALSE(strip->Icon());
    EXPECT_EQ(strip->Text(), "InfoFrameHeader");

    const HWND hwnd = strip->Hwnd();
    PaintNow(hwnd);
    for (const POINT p : {POINT{0, 0}, POINT{5, 5}, POINT{30, 30}, POINT{720, 40}, POINT{400, 60}})
        EXPECT_EQ(PixelAt(hwnd, p.x, p.y), kSlate) << p.x << "," << p.y;
    for (const int x : {0, 360, 720}) {
        EXPECT_EQ(PixelAt(hwnd, x, 61), Grey(128)) << x;
        EXPECT_EQ(PixelAt(hwnd, x, 62), Grey(255)) << x;
    }
    // Black text in the label box, nothing above or below it.
    EXPECT_GT(CountPixels(hwnd, kLabel, RGB(0, 0, 0)), 20);
    EXPECT_EQ(CountPixels(hwnd, {56, 14, 706, 21}, kSlate), 650 * 7);
    EXPECT_EQ(CountPixels(hwnd, {56, 42, 706, 61}, kSlate), 650 * 19);
}

TEST_F(InfoFrameTest, NewStripTakesTheNameOfTheLastInfoFrameOnItsWindow) {
    host.controls = {{"InfoFrame1", "InfoFrame"}};
    host.name = "InfoFrame1";
    EXPECT_EQ(NewStrip()->Text(), "InfoFrame1");
    host.controls.clear(); // a host that lists nothing: the strip's own name still
    EXPECT_EQ(NewStrip()->Text(), "InfoFrame1");
}

TEST_F(InfoFrameTest, KeepsItsHeightAndTheWindowsWidth) {
    const auto strip = NewStrip();
    EXPECT_EQ(WindowSize(strip->Hwnd()).cx, 721);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cy, 63);
    EXPECT_EQ(host.Width(), 721 * 15);
    EXPECT_EQ(host.Height(), 63 * 15);
    EXPECT_EQ(strip->LabelWidth(), 650);
    EXPECT_EQ(strip->LinesEndX(), 721);

    host.SetSize(3000, 3000);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cx, 721);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cy, 63);
    host.SetAlign(Align::None); // undocked it still spans the window
    host.SetSize(3000, 3000);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cx, 721);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cy, 63);
    host.SetAlign(Align::Top);

    host.ResizeContainer(500, 300);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cx, 500);
    EXPECT_EQ(WindowSize(strip->Hwnd()).cy, 63);
    EXPECT_EQ(strip->LabelWidth(), 429);
    EXPECT_EQ(strip->LinesEndX(), 500);
}

TEST(InfoFrameLayout, NarrowerThanTheLabelsMarginsHasNoLabel) {
    // A top-level window keeps a minimum width; this host reports a narrower one.
    struct NarrowHost : TestHost {
        int ContainerClientWidth() const override { return 40; }
    } host;
    InfoFrame strip(host);
    host.Attach(strip.Hwnd());
    strip.InitProperties();
    EXPECT_EQ(strip.LinesEndX(), 40);
    EXPECT_EQ(strip.LabelWidth(), 0);
    PaintNow(strip.Hwnd());
    EXPECT_EQ(PixelAt(strip.Hwnd(), 39, 61), Grey(128));
    EXPECT_EQ(CountPixels(strip.Hwnd(), {0, 0, 40, 61}, kSlate), 40 * 61); // no text anywhere
}

TEST_F(InfoFrameTest, GradientRunsLeftToRightAndFollowsTheWidth) {
    const auto strip = NewStrip();
    strip->SetGradientColor(0); // shows at once: no painting in between
    const GradientRgb slate{80, 97, 121};
    auto row = PixelRow(strip->Hwnd(), 5, 721);
    for (int x = 0; x < 721; ++x)
        ASSERT_EQ(row[x], GradientBandColour(slate, {0, 0, 0}, 721, x)) << "column " << x;
    EXPECT_EQ(row[1], RGB(80, 97, 121)); // 1/721 of a step still rounds to the start colour
    EXPECT_EQ(row[720], RGB(0, 0, 0));

    host.ResizeContainer(500, 300);
    TestHost::Pump();
    row = PixelRow(strip->Hwnd(), 55, 500);
    for (int x = 0; x < 500; ++x)
        ASSERT_EQ(row[x], GradientBandColour(slate, {0, 0, 0}, 500, x)) << "column " << x;
    // The text and the lines are drawn over the gradient.
    EXPECT_EQ(PixelAt(strip->Hwnd(), 250, 61), Grey(128));
    EXPECT_GT(CountPixels(strip->Hwnd(), {56, 21, 56 + 429, 42}, RGB(0, 0, 0)), 20);

    strip->SetGradientColor(0x796150); // equal again: plain
    EXPECT_EQ(PixelAt(strip->Hwnd(), 499, 5), kSlate);
}

TEST_F(InfoFrameTest, RunTimeChangesShowAtOnce) {
    const auto strip = NewStrip();
    strip->SetBackColor(0x0000FF);
    EXPECT_EQ(PixelAt(strip->Hwnd(), 0, 5), kRed);
    EXPECT_EQ(PixelAt(strip->Hwnd(), 720, 5),
              GradientBandColour({255, 0, 0}, {80, 97, 121}, 721, 720));

    // A system colour stands for its current value, also as a gradient end.
    strip->SetBackColor(0x80000000u | COLOR_HIGHLIGHT);
    EXPECT_EQ(PixelAt(strip->Hwnd(), 0, 5), GetSysColor(COLOR_HIGHLIGHT));

    strip->SetForeColor(0x0000FF);
    EXPECT_GT(CountPixels(strip->Hwnd(), kLabel, kRed), 20);
    strip->SetText("");
    EXPECT_EQ(CountPixels(strip->Hwnd(), kLabel, kRed), 0);

    const TempFolder folder;
    strip->SetIcon(*Picture::FromReference("file:" + IconFile(folder, kIconColour)));
    EXPECT_EQ(CountPixels(strip->Hwnd(), {12, 14, 44, 46}, kIconColour), 32 * 32);
    EXPECT_NE(PixelAt(strip->Hwnd(), 11, 30), kIconColour);
    EXPECT_NE(PixelAt(strip->Hwnd(), 44, 30), kIconColour);
    strip->SetIcon(Picture());
    EXPECT_EQ(CountPixels(strip->Hwnd(), {12, 14, 44, 46}, kIconColour), 0);

    EXPECT_THAT(host.changedKeys,
                ElementsAre("BackColor", "BackColor", "ForeColor", "Text", "Icon", "Icon"));
}

TEST_F(InfoFrameTest, DisabledStripGreysItsTextAndIconAndRaisesNothing) {
    const auto strip = NewStrip();
    const TempFolder folder;
    strip->SetIcon(*Picture::FromReference("file:" + IconFile(folder, kIconColour)));
    strip->SetForeColor(0x0000FF);
    int clicks = 0, doubleClicks = 0;
    strip->Click = [&] { ++clicks; };
    strip->DblClick = [&] { ++doubleClicks; };

    strip->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(strip->Hwnd()));
    EXPECT_EQ(CountPixels(strip->Hwnd(), kLabel, kRed), 0);
    EXPECT_GT(650 * 21 - CountPixels(strip->Hwnd(), kLabel, kSlate), 20); // greyed, still there
    EXPECT_LT(CountPixels(strip->Hwnd(), {12, 14, 44, 46}, kIconColour), 32 * 32);
    Press(strip->Hwnd(), WM_LBUTTONUP, 100, 30);
    Press(strip->Hwnd(), WM_LBUTTONDBLCLK, 100, 30);
    Press(strip->Hwnd(), WM_LBUTTONUP, 100, 30);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(doubleClicks, 0);

    strip->SetEnabled(true);
    EXPECT_GT(CountPixels(strip->Hwnd(), kLabel, kRed), 20);
    EXPECT_EQ(CountPixels(strip->Hwnd(), {12, 14, 44, 46}, kIconColour), 32 * 32);
    Press(strip->Hwnd(), WM_LBUTTONUP, 100, 30);
    EXPECT_EQ(clicks, 1);
}

TEST_F(InfoFrameTest, ClicksComeFromBackgroundIconAndTextButNotTheLines) {
    const auto strip = NewStrip();
    int clicks = 0, doubleClicks = 0;
    strip->Click = [&] { ++clicks; };
    strip->DblClick = [&] { ++doubleClicks; };
    const HWND hwnd = strip->Hwnd();

    for (const POINT p : {POINT{3, 3}, POINT{20, 20}, POINT{60, 30}, POINT{700, 60}})
        Press(hwnd, WM_LBUTTONUP, p.x, p.y);
    EXPECT_EQ(clicks, 4);
    Press(hwnd, WM_LBUTTONUP, 300, 61);
    Press(hwnd, WM_LBUTTONUP, 0, 62);
    Press(hwnd, WM_LBUTTONDBLCLK, 300, 62);
    Press(hwnd, WM_LBUTTONUP, 300, 62);
    SendMessageA(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(100, 30));
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(doubleClicks, 0);

    // A double click as Windows reports it: one Click, then one DblClick.
    Press(hwnd, WM_LBUTTONDOWN, 100, 30);
    Press(hwnd, WM_LBUTTONUP, 100, 30);
    Press(hwnd, WM_LBUTTONDBLCLK, 100, 30);
    Press(hwnd, WM_LBUTTONUP, 100, 30);
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(InfoFrameTest, RefreshRedrawsTheChildren) {
    const auto strip = NewStrip();
    {
        HDC dc = GetDC(strip->Hwnd());
        const RECT covered{0, 0, 721, 63};
        FillRect(dc, &covered, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(strip->Hwnd(), dc);
    }
    strip->Refresh();
    EXPECT_EQ(PixelAt(strip->Hwnd(), 700, 61), Grey(128));
    EXPECT_EQ(PixelAt(strip->Hwnd(), 700, 62), Grey(255));
    EXPECT_EQ(PixelAt(strip->Hwnd(), 60, 22), kSlate); // the text's box, above the letters
}

TEST_F(InfoFrameTest, DefaultsWriteNoKeysAndReadBackTheSame) {
    const auto strip = NewStrip();
    strip->SetText("");
    PropertyBag bag;
    strip->WriteProperties(bag);
    EXPECT_THAT(bag.Entries(), IsEmpty());

    const auto loaded = LoadedStrip(bag);
    EXPECT_EQ(loaded->BackColor(), strip->BackColor());
    EXPECT_EQ(loaded->ForeColor(), strip->ForeColor());
    EXPECT_EQ(loaded->GradientColor(), strip->GradientColor());
    EXPECT_EQ(loaded->Enabled(), strip->Enabled());
    EXPECT_EQ(loaded->Icon(), strip->Icon());
    EXPECT_EQ(loaded->Text(), "");
}

TEST_F(InfoFrameTest, SavedPropertiesRoundTrip) {
    const TempFolder folder;
    const auto strip = NewStrip();
    strip->SetBackColor(0x123456);
    strip->SetEnabled(false);
    strip->SetForeColor(0xFFFFFF);
    strip->SetGradientColor(0x80000005);
    strip->SetIcon(*Picture::FromReference("file:" + IconFile(folder, kIconColour)));
    strip->SetText("Clutterwise");
    EXPECT_THAT(host.changedKeys,
                ElementsAre("BackColor", "Enabled", "ForeColor", "GradientColor", "Icon", "Text"));

    PropertyBag bag;
    strip->WriteProperties(bag);
    ASSERT_EQ(bag.Entries().size(), 6u);
    EXPECT_EQ(bag.Text("backcolor"), "&H00123456&");
    EXPECT_EQ(bag.Text("Text"), "\"Clutterwise\"");

    host.changedKeys.clear();
    const auto loaded = LoadedStrip(bag);
    EXPECT_THAT(host.changedKeys, IsEmpty());
    EXPECT_EQ(loaded->BackColor(), 0x123456u);
    EXPECT_FALSE(loaded->Enabled());
    EXPECT_FALSE(IsWindowEnabled(loaded->Hwnd()));
    EXPECT_EQ(loaded->ForeColor(), 0xFFFFFFu);
    EXPECT_EQ(loaded->GradientColor(), 0x80000005u);
    EXPECT_EQ(loaded->Icon(), strip->Icon());
    EXPECT_NE(loaded->Icon().Handle(), nullptr);
    EXPECT_EQ(loaded->Text(), "Clutterwise");
}

TEST_F(InfoFrameTest, AKeyThatCannotBeReadKeepsItsField) {
    auto strip = NewStrip();
    strip->SetForeColor(0x00FF00);
    strip->SetText("Before");
    PropertyBag bag;
    bag.SetText("BackColor", "&H000000FF&");
    bag.SetText("Enabled", "perhaps");
    bag.SetText("ForeColor", "\"green\"");
    bag.SetText("Icon", "picture(42)");
    bag.SetText("Text", "unquoted");
    bag.SetText("GradientColor", "&H00FF0000&");
    strip->ReadProperties(bag);
    EXPECT_EQ(strip->BackColor(), 0x0000FFu);
    EXPECT_TRUE(strip->Enabled());
    EXPECT_EQ(strip->ForeColor(), 0x00FF00u);
    EXPECT_EQ(strip->GradientColor(), 0xFF0000u);
    EXPECT_FALSE(strip->Icon());
    EXPECT_EQ(strip->Text(), "Before");
    EXPECT_EQ(PixelAt(strip->Hwnd(), 0, 5), kRed);
}
