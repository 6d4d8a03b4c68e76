// The program's windows at every scale: laid out from their twips at the window's own DPI, on a
// change of scale sent to the loaded window as the system sends it (and, when the prefix runs at
// another scale, at the start).
#include "WindowLayout.h"
#include "app/FormAbout.h"
#include "controls/Components.h"
#include "controls/infoframe/InfoFrame.h"
#include "controls/statusbar/StatusBar.h"
#include "forms/DesignText.h"
#include "forms/Form.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Twips.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

using namespace cw;
using namespace cwtest;

namespace {

// As the system does when a window reaches a screen of another scale: it asks the window's size
// there, then sends the new DPI with the rectangle it suggests (here 10 pixels further on).
RECT ChangeScale(HWND form, int dpi) {
    SIZE size{};
    SendMessageA(form, 0x02E4 /* WM_GETDPISCALEDSIZE */, static_cast<WPARAM>(dpi),
                 reinterpret_cast<LPARAM>(&size));
    RECT r{};
    GetWindowRect(form, &r);
    RECT suggested{r.left + 10, r.top + 10, r.left + 10 + size.cx, r.top + 10 + size.cy};
    SendMessageA(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

SIZE TextSize(HWND window, const std::string& text, HFONT font) {
    const ClientDC dc(window);
    const SelectedObject selected(dc.Get(), font);
    RECT r{};
    DrawTextA(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return {r.right, r.bottom};
}

int IconSize(HICON icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The client area is the design's size in twips; every window lies inside its parent and clear of
// its siblings; every caption fits its control in the control's own font, beside what the control
// draws next to it; the window's icons are the ones the resource holds for the scale.
void ExpectWholeAt(const Form& form, int dpi) {
    SCOPED_TRACE(form.Name() + " at " + std::to_string(dpi) + " dpi");
    EXPECT_EQ(form.Dpi(), dpi);
    const double perPixel = TwipsPerPixelAt(dpi);
    RECT client{};
    GetClientRect(form.Hwnd(), &client);
    EXPECT_NEAR(client.right,
                form.Design().properties.ReadInt32("clientwidth", 0).value_or(0) / perPixel, 1);
    EXPECT_NEAR(client.bottom,
                form.Design().properties.ReadInt32("clientheight", 0).value_or(0) / perPixel, 1);
    ExpectInsideAndApart(form.Hwnd());
    for (const auto& c : form.Controls()) {
        if (!c->Hwnd() || c->Caption().empty())
            continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageA(c->Hwnd(), WM_GETFONT, 0, 0));
        const SIZE text = TextSize(c->Hwnd(), c->Caption(), font);
        RECT r{};
        GetClientRect(c->Hwnd(), &r);
        // Beside the text: an option's button (12 pixels and one at 96 dpi) and half a digit's
        // width; a button's edges; the frame's line before and after its caption.
        const int beside = c->Kind() == ControlKind::OptionButton
                               ? ScaleForDpi(12, dpi) + 1 + TextSize(c->Hwnd(), "0", font).cx / 2
                           : c->Kind() == ControlKind::CommandButton ? ScaleForDpi(6, dpi)
                           : c->Kind() == ControlKind::Frame         ? ScaleForDpi(16, dpi)
                                                                     : 0;
        EXPECT_LE(text.cx + beside, r.right) << c->Name();
        EXPECT_LE(text.cy, r.bottom) << c->Name();
    }
    const auto icon = [&](WPARAM which) {
        return IconSize(reinterpret_cast<HICON>(SendMessageA(form.Hwnd(), WM_GETICON, which, 0)));
    };
    if (form.Icon()) {
        EXPECT_EQ(icon(ICON_BIG), SystemMetricForDpi(SM_CXICON, dpi));
        EXPECT_EQ(icon(ICON_SMALL), SystemMetricForDpi(SM_CXSMICON, dpi));
    }
}

} // namespace

TEST(Scale, MainWindowAndAboutBoxAreWholeAtEveryScaleAndComeBackUnchanged) {
    RegisterComponents();
    Form main("FormClutterwise");
    FormAbout about;
    about.SetApplication("Clutterwise 1.0");
    about.SetCopyright("Copyright \xC2\xA9 2026 Norvanta");
    about.SetWebsite("https://www.example.com/clutterwise/");
    ASSERT_TRUE(main.Load()) << main.LoadError();
    about.SetIcon2(main.Icon());
    ASSERT_TRUE(about.Load(main.Hwnd())) << about.LoadError();
    const int start = main.Dpi();
    const auto mainAtStart = ChildPlaces(main.Hwnd()), aboutAtStart = ChildPlaces(about.Hwnd());

    auto& header = *main.GetComponent<InfoFrame>("InfoFrameClutterwise");
    auto& status = *main.GetComponent<StatusBar>("StatusBarClutterwise");
    constexpr const char* kPanelText = "12 current items / 0 selected ";
    status.Panel(0)->SetText(kPanelText);
    const std::string savedAtStart = WriteDesign(main.SaveDesign());
    for (const int dpi : {start, 96, 120, 144, 192}) {
        for (Form* form : {&main, static_cast<Form*>(&about)}) {
            if (dpi != form->Dpi()) {
                const RECT suggested = ChangeScale(form->Hwnd(), dpi);
                RECT now{};
                GetWindowRect(form->Hwnd(), &now);
                EXPECT_EQ(now.left, suggested.left);
                EXPECT_EQ(now.top, suggested.top);
            }
            ExpectWholeAt(*form, dpi);
        }
        // Saved at any scale, the design is the same.
        EXPECT_EQ(WriteDesign(main.SaveDesign()), savedAtStart) << dpi;
        // The header strip: 945 twips high, its icon and text placed and sized for the scale.
        RECT strip{};
        GetClientRect(header.Hwnd(), &strip);
        EXPECT_NEAR(strip.bottom, 945 / TwipsPerPixelAt(dpi), 0.5) << dpi;
        const RECT iconBox = header.IconRect(), label = header.LabelRect();
        EXPECT_EQ(iconBox.left, ScaleForDpi(12, dpi));
        EXPECT_EQ(iconBox.bottom - iconBox.top, ScaleForDpi(32, dpi));
        const SIZE text = TextSize(header.Hwnd(), header.Text(), header.LabelFont());
        EXPECT_LE(text.cx, label.right - label.left);
        EXPECT_LE(label.bottom, strip.bottom - 2);
        EXPECT_LE(text.cy, label.bottom - label.top) << dpi;
        // The status bar's parts hold their texts in the bar's font at the scale.
        int edges[3] = {};
        SendMessageA(status.ControlHwnd(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
        const auto barFont =
            reinterpret_cast<HFONT>(SendMessageA(status.ControlHwnd(), WM_GETFONT, 0, 0));
        EXPECT_LE(TextSize(status.ControlHwnd(), kPanelText, barFont).cx + ScaleForDpi(4, dpi),
                  edges[0])
            << dpi;
    }
    // Back at the start's scale, every window is where it was: no drift.
    ChangeScale(main.Hwnd(), start);
    ChangeScale(about.Hwnd(), start);
    const auto same = [](const std::map<HWND, RECT>& a, const std::map<HWND, RECT>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
            return x.first == y.first && EqualRect(&x.second, &y.second);
        });
    };
    EXPECT_TRUE(same(ChildPlaces(main.Hwnd()), mainAtStart));
    EXPECT_TRUE(same(ChildPlaces(about.Hwnd()), aboutAtStart));
}
