// The windows at every scale, laid out from their twips at the window's own DPI: after a change of
// scale sent as the system sends it, and (test_scale_144dpi) when they start at 144 dpi.
#include "app/FormAbout.h"
#include "controls/Components.h"
#include "controls/infoframe/InfoFrame.h"
#include "forms/DesignText.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace cw;

namespace {

using Places = std::map<HWND, RECT>; // every child window in its parent's client coordinates

Places PlacesIn(HWND form) {
    Places places;
    EnumChildWindows(
        form,
        [](HWND child, LPARAM param) {
            RECT& r = (*reinterpret_cast<Places*>(param))[child];
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&places));
    return places;
}

// As the system does on a screen of another scale: asks the window's size there, then sends the
// new DPI with the rectangle it suggests (10 pixels further on); the window must take it.
void ChangeScale(HWND form, int dpi) {
    SIZE size{};
    SendMessageA(form, 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&size));
    RECT r{};
    GetWindowRect(form, &r);
    RECT suggested{r.left + 10, r.top + 10, r.left + 10 + size.cx, r.top + 10 + size.cy};
    SendMessageA(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, suggested.left);
    EXPECT_EQ(r.top, suggested.top);
}

SIZE TextSize(HWND window, const std::string& text, HFONT font) {
    const ClientDC dc(window);
    const SelectedObject selected(dc.Get(), font);
    RECT r{};
    DrawTextA(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return {r.right, r.bottom};
}

int IconSize(LRESULT icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    if (!icon || !GetIconInfo(reinterpret_cast<HICON>(icon), &info))
        return 0;
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The client area is the design's size in twips; every window lies inside its parent and clear of
// its siblings; every caption fits its control in the control's own font beside what the control
// draws next to it; the title bar's icons are the sizes the resource holds for the scale.
void ExpectWholeAt(const Form& form, int dpi) {
    SCOPED_TRACE(form.Name() + " at " + std::to_string(dpi) + " dpi");
    const double perPixel = 1440.0 / dpi;
    const PropertyBag& design = form.Design().properties;
    EXPECT_NEAR(form.ClientWidth(), design.ReadInt32("clientwidth", 0).value_or(0) / perPixel, 1);
    EXPECT_NEAR(form.ClientHeight(), design.ReadInt32("clientheight", 0).value_or(0) / perPixel, 1);
    const Places places = PlacesIn(form.Hwnd());
    for (const auto& [window, place] : places) {
        RECT parent{}, overlap{};
        GetClientRect(GetParent(window), &parent);
        if (!IsWindowVisible(window))
            continue;
        EXPECT_GE(place.left, 0);
        EXPECT_GE(place.top, 0);
        EXPECT_LE(place.right, parent.right);
        EXPECT_LE(place.bottom, parent.bottom);
        for (const auto& [other, otherPlace] : places) {
            if (other == window || GetParent(other) != GetParent(window) || !IsWindowVisible(other))
                continue;
            EXPECT_FALSE(IntersectRect(&overlap, &place, &otherPlace));
        }
    }
    for (const auto& c : form.Controls()) {
        if (!c->Hwnd() || c->Caption().empty())
            continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageA(c->Hwnd(), WM_GETFONT, 0, 0));
        const SIZE text = TextSize(c->Hwnd(), c->Caption(), font);
        // An option's button (12 pixels and one at 96 dpi) and half a digit; a button's edges; a
        // frame's line before and after its caption.
        const int beside = c->Kind() == ControlKind::OptionButton
                               ? ScaleForDpi(12, dpi) + 1 + TextSize(c->Hwnd(), "0", font).cx / 2
                           : c->Kind() == ControlKind::CommandButton ? ScaleForDpi(6, dpi)
                           : c->Kind() == ControlKind::Frame         ? ScaleForDpi(16, dpi)
                                                                     : 0;
        RECT r{};
        GetClientRect(c->Hwnd(), &r);
        EXPECT_LE(text.cx + beside, r.right) << c->Name();
        EXPECT_LE(text.cy, r.bottom) << c->Name();
    }
    if (form.Icon()) {
        EXPECT_EQ(IconSize(SendMessageA(form.Hwnd(), WM_GETICON, ICON_BIG, 0)),
                  SystemMetricForDpi(SM_CXICON, dpi));
        EXPECT_EQ(IconSize(SendMessageA(form.Hwnd(), WM_GETICON, ICON_SMALL, 0)),
                  SystemMetricForDpi(SM_CXSMICON, dpi));
    }
}

} // namespace

TEST(Scale, MainWindowAndAboutBoxAreWholeAtEveryScaleAndComeBackUnchanged) {
    RegisterComponents();
    Form main("FormClutterwise");
    ASSERT_TRUE(main.Load()) << main.LoadError();
    FormAbout about;
    about.SetApplication("Clutterwise 1.0");
    about.SetCopyright("Copyright \xC2\xA9 2026 Norvanta");
    about.SetWebsite("https://www.example.com/clutterwise/");
    about.SetIcon2(main.Icon());
    ASSERT_TRUE(about.Load(main.Hwnd())) << about.LoadError();
    const int start = main.Dpi();
    const Places mainAtStart = PlacesIn(main.Hwnd()), aboutAtStart = PlacesIn(about.Hwnd());
    const std::string savedAtStart = WriteDesign(main.SaveDesign());

    auto& header = *main.GetComponent<InfoFrame>("InfoFrameClutterwise");
    for (const int dpi : {start, 96, 120, 144, 192}) {
        for (Form* form : {&main, static_cast<Form*>(&about)}) {
            if (dpi != form->Dpi())
                ChangeScale(form->Hwnd(), dpi);
            EXPECT_EQ(form->Dpi(), dpi);
            ExpectWholeAt(*form, dpi);
        }
        // Saved at any scale, the design is the same.
        EXPECT_EQ(WriteDesign(main.SaveDesign()), savedAtStart) << dpi;
        // The header strip is 945 twips high, its icon and text placed and sized for the scale.
        const RECT icon = header.IconRect(), label = header.LabelRect();
        const SIZE text = TextSize(header.Hwnd(), header.Text(), header.LabelFont());
        EXPECT_NEAR(header.ClientHeight(), 945 * dpi / 1440.0, 0.5) << dpi;
        EXPECT_EQ(icon.left, ScaleForDpi(12, dpi));
        EXPECT_EQ(icon.right - icon.left, ScaleForDpi(32, dpi));
        EXPECT_LE(text.cx, label.right - label.left) << dpi;
        EXPECT_LE(text.cy, label.bottom - label.top) << dpi;
        EXPECT_LE(label.bottom, header.ClientHeight() - 2) << dpi;
    }
    // Back at the first scale, every window is where it was: no drift.
    ChangeScale(main.Hwnd(), start);
    ChangeScale(about.Hwnd(), start);
    for (const auto& [form, atStart] :
         {std::pair(main.Hwnd(), mainAtStart), std::pair(about.Hwnd(), aboutAtStart)})
        for (const auto& [window, place] : PlacesIn(form))
            EXPECT_TRUE(EqualRect(&place, &atStart.at(window)));
}
