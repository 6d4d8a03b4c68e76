// The windows at every scale, laid out from their twips at the window's own DPI: after a change of
// scale sent as the system sends it, and (test_scale_144dpi) when they start at 144 dpi. The main
// window grows and shrinks, and always fits its screen's work area; its kept place comes back.
#include "TempFolder.h"
#include "app/FormAbout.h"
#include "app/WindowPlace.h"
#include "controls/Components.h"
#include "controls/infoframe/InfoFrame.h"
#include "forms/DesignText.h"
#include "forms/FormLayout.h"
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

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// As the system does on a screen of another scale: asks the window's size there, then sends the
// new DPI with the rectangle it suggests, here half off the work area; the window takes its top,
// moved back inside.
void ChangeScale(HWND form, int dpi) {
    SIZE size{};
    SendMessageA(form, 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&size));
    const RECT work = WorkAreaOf(form);
    const LONG left = work.right - size.cx / 2;
    RECT suggested{left, work.top + 10, left + size.cx, work.top + 10 + size.cy}, r{}, inside{};
    SendMessageA(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(form, &r);
    EXPECT_EQ(r.top, suggested.top);
    EXPECT_TRUE(IntersectRect(&inside, &r, &work) && EqualRect(&inside, &r));
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

std::string NameOf(HWND window) {
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text + ("#" + std::to_string(GetDlgCtrlID(window)));
}

// The form's and its frames' windows (not a component's own insides).
bool Placed(HWND form, HWND window) {
    char kind[16] = "";
    GetClassNameA(GetParent(window), kind, sizeof kind);
    return IsWindowVisible(window) && (GetParent(window) == form || lstrcmpiA(kind, "Button") == 0);
}

// Every window lies inside its parent and clear of its siblings.
void ExpectApart(HWND form) {
    const Places places = PlacesIn(form);
    for (const auto& [window, place] : places) {
        RECT parent{}, overlap{};
        GetClientRect(GetParent(window), &parent);
        if (!Placed(form, window))
            continue;
        EXPECT_GE(place.left, 0) << NameOf(window);
        EXPECT_GE(place.top, 0) << NameOf(window);
        EXPECT_LE(place.right, parent.right) << NameOf(window);
        EXPECT_LE(place.bottom, parent.bottom) << NameOf(window);
        for (const auto& [other, otherPlace] : places) {
            if (other == window || GetParent(other) != GetParent(window) || !Placed(form, other))
                continue;
            EXPECT_FALSE(IntersectRect(&overlap, &place, &otherPlace))
                << NameOf(window) << " over " << NameOf(other);
        }
    }
}

// The client area is the design's size in twips; the windows are apart; every caption fits its
// control in the control's own font beside what the control draws next to it; the title bar's
// icons are the sizes the resource holds for the scale.
void ExpectWholeAt(const Form& form, int dpi) {
    SCOPED_TRACE(form.Name() + " at " + std::to_string(dpi) + " dpi");
    const double perPixel = 1440.0 / dpi;
    const PropertyBag& design = form.Design().properties;
    EXPECT_NEAR(form.ClientWidth(), design.ReadInt32("clientwidth", 0).value_or(0) / perPixel, 1);
    EXPECT_NEAR(form.ClientHeight(), design.ReadInt32("clientheight", 0).value_or(0) / perPixel, 1);
    ExpectApart(form.Hwnd());
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

namespace {

RECT PlaceOf(const Form& form, const char* name) {
    const HWND window = form.Get<Control>(name).Hwnd();
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, form.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

// Below, at and above its design's size at 96 and 144 dpi: the user cannot drag it smaller than
// designed; shrunk to fit a small screen (which the system does without asking), the lists give up
// the room. Both lists share the width, the arrows stay centred between them, the right-hand
// column keeps its distance from the edge, and the header strip and status bar span the width.
TEST(Scale, MainWindowGrowsAndShrinksWithItsControlsApart) {
    RegisterComponents();
    Form main("FormClutterwise");
    ASSERT_TRUE(main.Load()) << main.LoadError();
    main.Show();
    for (const int dpi : {96, 144}) {
        if (dpi != main.Dpi())
            ChangeScale(main.Hwnd(), dpi);
        const int designedWidth = main.ClientWidth(), designedHeight = main.ClientHeight();
        const int rightGap = designedWidth - PlaceOf(main, "CommandProcess").right;
        RECT window{};
        GetWindowRect(main.Hwnd(), &window);
        const struct {
            int by;      // pixels added to each side of the window
            bool forced; // as the system shrinks a window to fit a screen
            int expected;
        } sizes[] = {{-120, false, 0}, {0, false, 0}, {300, false, 300}, {-60, true, -60}};
        for (const auto& size : sizes) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, " + std::to_string(size.by) +
                         (size.forced ? " forced" : ""));
            SetWindowPos(main.Hwnd(), nullptr, 0, 0, window.right - window.left + size.by,
                         window.bottom - window.top + size.by,
                         SWP_NOMOVE | SWP_NOZORDER | (size.forced ? SWP_NOSENDCHANGING : 0));
            EXPECT_EQ(main.ClientWidth(), designedWidth + size.expected);
            EXPECT_EQ(main.ClientHeight(), designedHeight + size.expected);
            ExpectApart(main.Hwnd());
            const RECT current = PlaceOf(main, "ListItemsCurrent");
            const RECT added = PlaceOf(main, "ListItemsNew");
            const RECT arrow = PlaceOf(main, "CommandItemsAdd");
            EXPECT_NEAR(current.right - current.left, added.right - added.left, 1);
            EXPECT_NEAR(current.right + added.left, arrow.left + arrow.right, 2);
            EXPECT_NEAR(main.ClientWidth() - PlaceOf(main, "CommandProcess").right, rightGap, 1);
            EXPECT_NEAR(main.ClientWidth() - PlaceOf(main, "FrameMethod").right, rightGap, 1);
            for (const char* docked : {"InfoFrameClutterwise", "StatusBarClutterwise"}) {
                RECT r{};
                GetWindowRect(main.GetComponent<Component>(docked)->Hwnd(), &r);
                EXPECT_EQ(r.right - r.left, main.ClientWidth()) << docked;
            }
        }
        SetWindowPos(main.Hwnd(), nullptr, 0, 0, window.right - window.left,
                     window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
    }
}

// Placed, and shrunk if need be, inside the work area: at 192 dpi the main window is 1442 x 840
// pixels, wider than a 1280 x 1024 screen (test_scale_192dpi starts the real program there).
TEST(Scale, TheWindowFitsTheWorkArea) {
    const struct {
        RECT window, work, fitted;
    } cases[] = {
        {{0, 0, 1442, 840}, {0, 0, 1280, 984}, {0, 0, 1280, 840}},
        {{100, 50, 1542, 890}, {0, 0, 1280, 984}, {0, 50, 1280, 890}},
        {{200, 100, 900, 600}, {0, 0, 1280, 984}, {200, 100, 900, 600}},
        {{-300, -40, 400, 460}, {0, 40, 1280, 1024}, {0, 40, 700, 540}},
        {{3000, 900, 3700, 1400}, {1920, 0, 3200, 1000}, {2500, 500, 3200, 1000}},
        {{0, 0, 800, 1300}, {1920, 0, 3200, 1000}, {1920, 0, 2720, 1000}},
    };
    for (const auto& c : cases) {
        const RECT fitted = FitWithin(c.window, c.work);
        EXPECT_TRUE(EqualRect(&fitted, &c.fitted))
            << fitted.left << "," << fitted.top << "," << fitted.right << "," << fitted.bottom;
    }
}

// The kept place comes back on a present monitor, at its scale; one kept on a monitor that is
// gone, or text that is not a place, is not used.
TEST(Scale, TheKeptPlaceComesBackOnlyOnAPresentMonitor) {
    const cwtest::TempFolder folder;
    const std::string path = KeptPlacePath(folder.Path() + "\\");
    RegisterComponents();
    Form kept("FormClutterwise"), opened("FormClutterwise");
    ASSERT_TRUE(kept.Load()) << kept.LoadError();
    ASSERT_TRUE(opened.Load()) << opened.LoadError();
    const RECT work = WorkAreaOf(kept.Hwnd());
    const RECT place{work.left + 40, work.top + 30, work.left + 1540, work.top + 980};
    SetWindowPos(kept.Hwnd(), nullptr, place.left, place.top, 1500, 950, SWP_NOZORDER);
    ASSERT_TRUE(KeepWindowPlace(kept.Hwnd(), path));
    ASSERT_TRUE(RestoreWindowPlace(opened.Hwnd(), path));
    RECT r{};
    GetWindowRect(opened.Hwnd(), &r);
    EXPECT_TRUE(EqualRect(&r, &place));

    const int dpi = WindowDpi(kept.Hwnd());
    const auto restored = [&](const std::string& text) {
        const auto read = ReadKeptPlace(text);
        return read ? RestoredRect(*read) : std::nullopt;
    };
    const RECT twice = *restored(KeptPlaceText({place, dpi * 2, false}));
    EXPECT_EQ(twice.right - twice.left, 750);
    EXPECT_EQ(twice.bottom - twice.top, 475);
    EXPECT_FALSE(restored(KeptPlaceText({{-30000, -30000, -29000, -29300}, dpi, false})));
    EXPECT_FALSE(restored(KeptPlaceText({{work.right + 10, 0, work.right + 900, 600}, dpi, true})));
    for (const char* text : {"", "1 2 3", "10 10 5 5 96 0", "0 0 100 100 96 0 x", "0 0 9 9 0 0"})
        EXPECT_FALSE(ReadKeptPlace(text)) << text;
}
