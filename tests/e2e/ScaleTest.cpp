// The real program started at the scale the prefix runs at (the CTest entry test_e2e_144dpi sets
// 144 dpi): its window is the design's size in twips at that scale and whole.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "TempFolder.h"
#include "WindowLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace cwtest;

TEST(ProgramScale, StartsWholeAtTheScaleOfTheScreen) {
    const int dpi = static_cast<int>(GetDpiForSystem());
    if (const char* expected = std::getenv("CLUTTERWISE_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix does not run at the scale asked for";
    }
    const TempFolder desktop;
    desktop.MakeFile("Notes.lnk", "shortcut");
    const DesktopRedirect redirect(desktop.Path());
    AppDriver program;
    const HWND main = program.WaitForWindow("Norvanta Clutterwise");
    ASSERT_TRUE(main);
    EXPECT_EQ(static_cast<int>(GetDpiForWindow(main)), dpi);

    const double perPixel = 1440.0 / dpi;
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_NEAR(client.right, 10815 / perPixel, 1);
    EXPECT_NEAR(client.bottom, 6300 / perPixel, 1);
    const HWND header = FindChild(main, "ClutterwiseComponent", "InfoFrameClutterwise");
    ASSERT_TRUE(header);
    RECT strip{};
    GetClientRect(header, &strip);
    EXPECT_NEAR(strip.bottom, 945 / perPixel, 0.5);
    EXPECT_EQ(strip.right, client.right);
    ExpectInsideAndApart(main);
}
