#include "Gradient.h"

#include "Pixels.h"
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

// A child window of the host that paints itself with a Gradient, and nothing else.
class GradientWindow {
  public:
    GradientWindow(HWND parent, int x, int y, int width, int height) {
        static const bool registered = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &GradientWindow::Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "GradientTestWindow";
            return RegisterClassExA(&wc) != 0;
        }();
        (void)registered;
        hwnd_ = CreateWindowExA(0, "GradientTestWindow", "", WS_CHILD | WS_VISIBLE, x, y, width,
                                height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        gradient.SetOwnerHwnd(hwnd_);
    }
    ~GradientWindow() { DestroyWindow(hwnd_); }
    GradientWindow(const GradientWindow&) = delete;
    GradientWindow& operator=(const GradientWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }
    void Paint(GradientRgb start, GradientRgb end) {
        from = start;
        to = end;
        PaintNow(hwnd_);
    }

    Gradient gradient;
    GradientRgb from, to;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<GradientWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && msg == WM_ERASEBKGND)
            return 1;
        if (self && msg == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            self->gradient.Show(self->from.red, self->from.green, self->from.blue, self->to.red,
                                self->to.green, self->to.blue);
            EndPaint(hwnd, &ps);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

constexpr GradientRgb kBlack{0, 0, 0};
constexpr GradientRgb kWhite{255, 255, 255};
constexpr GradientRgb kSlate{80, 97, 121};

} // namespace

TEST(GradientSteps, StopOneStepShortOfTheEndColour) {
    EXPECT_THAT(Channels(0, 255, 4), ElementsAre(0, 64, 128, 191));
    EXPECT_EQ(GradientChannel(0, 255, 4, 4), 255); // the band just outside the area
    EXPECT_THAT(Channels(80, 0, 4), ElementsAre(80, 60, 40, 20));
    EXPECT_THAT(Channels(97, 0, 4), ElementsAre(97, 73, 48, 24));
    EXPECT_THAT(Channels(121, 0, 4), ElementsAre(121, 91, 60, 30));
    EXPECT_EQ(GradientBandColour(kSlate, kBlack, 4, 1), RGB(60, 73, 91));
}

TEST(GradientSteps, RoundHalvesToEven) {
    // 2.5 -> 2 and 7.5 -> 8; 127.5 -> 128 on the way down.
    EXPECT_THAT(Channels(0, 10, 8), ElementsAre(0, 1, 2, 4, 5, 6, 8, 9));
    EXPECT_THAT(Channels(255, 0, 4), ElementsAre(255, 191, 128, 64));
}

TEST(GradientSteps, DivideInSinglePrecision) {
    // 6 / 5 in single precision is a little above 1.2, so 255 / it falls just short of 212.5 and
    // the last band gets 43 where exact arithmetic would give the even 42.
    EXPECT_THAT(Channels(255, 0, 6), ElementsAre(255, 212, 170, 128, 85, 43));
    EXPECT_EQ(GradientDivide(6.0f, 5.0f), 1.2f);
    EXPECT_EQ(GradientDivide(7.0f, 0.0f), 0.0f);
}

TEST(GradientSteps, EqualColoursAndEmptyAreasStayAtTheStart) {
    EXPECT_THAT(Channels(97, 97, 300), Each(97));
    EXPECT_EQ(GradientChannel(7, 100, 0, 0), 7); // an empty area still has its band 0
}

TEST(GradientSteps, ChannelsOutOfRangeDoNotSpillIntoTheirNeighbours) {
    EXPECT_EQ(GradientBandColour({300, -5, 128}, {300, -5, 128}, 4, 1), RGB(255, 0, 128));
    // A 16-bit difference would overflow here.
    EXPECT_EQ(GradientBandColour({-32768, 0, 0}, {32767, 0, 0}, 2, 1), RGB(0, 0, 0));
}

class GradientPainting : public ::testing::Test {
  protected:
    TestHost host{200, 100};
};

TEST_F(GradientPainting, PaintsColumnsLeftToRight) {
    GradientWindow window(host.ContainerHwnd(), 0, 0, 4, 10);
    window.Paint(kBlack, kWhite);
    const std::vector expected{Grey(0), Grey(64), Grey(128), Grey(191)};
    EXPECT_EQ(PixelRow(window.Hwnd(), 0, 4), expected);
    EXPECT_EQ(PixelRow(window.Hwnd(), 9, 4), expected);

    window.Paint(kSlate, kBlack);
    EXPECT_THAT(PixelRow(window.Hwnd(), 5, 4),
                ElementsAre(RGB(80, 97, 121), RGB(60, 73, 91), RGB(40, 48, 60), RGB(20, 24, 30)));
}

TEST_F(GradientPainting, PaintsRowsTopToBottomWhenUpDown) {
    GradientWindow window(host.ContainerHwnd(), 0, 0, 10, 4);
    window.gradient.SetUpDown(true);
    window.Paint(kWhite, kBlack);
    const std::vector expected{Grey(255), Grey(191), Grey(128), Grey(64)};
    EXPECT_EQ(PixelColumn(window.Hwnd(), 0, 4), expected);
    EXPECT_EQ(PixelColumn(window.Hwnd(), 9, 4), expected);
}

TEST_F(GradientPainting, EveryColumnOfAWideAreaGetsItsBand) {
    GradientWindow window(host.ContainerHwnd(), 0, 0, 180, 3);
    const GradientRgb red{255, 0, 0};
    window.Paint(kSlate, red);
    const auto row = PixelRow(window.Hwnd(), 1, 180);
    for (int x = 0; x < 180; ++x)
        ASSERT_EQ(row[x], GradientBandColour(kSlate, red, 180, x)) << "column " << x;

    window.Paint(kSlate, kSlate);
    EXPECT_THAT(PixelRow(window.Hwnd(), 1, 180), Each(RGB(80, 97, 121)));
}

TEST_F(GradientPainting, AnAreaWithoutRowsGetsNothing) {
    PaintNow(host.ContainerHwnd());
    const COLORREF before = PixelAt(host.ContainerHwnd(), 5, 20);
    GradientWindow window(host.ContainerHwnd(), 0, 20, 50, 0);
    window.gradient.SetUpDown(true);
    // Painted directly: an empty window gets no WM_PAINT.
    window.gradient.Show(255, 0, 0, 0, 0, 255);
    EXPECT_EQ(PixelAt(host.ContainerHwnd(), 5, 20), before);
    EXPECT_EQ(PixelAt(host.ContainerHwnd(), 5, 19), before);

    Gradient unowned;
    unowned.Show(255, 0, 0, 0, 0, 255); // no window: nothing to paint on
}
