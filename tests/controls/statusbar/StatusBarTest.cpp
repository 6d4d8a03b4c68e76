// The status bar: its window-free layout, the component on a window, and its Panels page.
#include "PageDriver.h"
#include "TestHost.h"
#include "controls/statusbar/PanelsPage.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/statusbar/StatusBarLayout.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <tuple>

using namespace cw;
using namespace cwtest;

namespace {

using Edges = std::vector<int>;
using PartShown = std::pair<std::string, unsigned>; // text and SBT_ flags

PanelMetrics Contents(int textWidth) {
    return {true, sbrContents, 100, textWidth};
}
PanelMetrics Fixed(std::int16_t width, bool visible = true) {
    return {visible, sbrNoAutoSize, width};
}
PanelMetrics Spring(std::int16_t width, bool visible = true) {
    return {visible, sbrSpring, width};
}

// What the main window's design holds for its status bar.
PropertyBag MainWindowBag() {
    PropertyBag bag;
    bag.SetText("count", "3");
    bag.SetText("panelautosize(0)", "2");
    bag.SetText("panelautosize(1)", "2");
    bag.SetText("panelautosize(2)", "1");
    return bag;
}

class StatusBarTest : public ::testing::Test {
protected:
    // Docked at the bottom of its window, 20 pixels high, as on the main window.
    void Make(const PropertyBag& bag = MainWindowBag(), bool userMode = true) {
        TearDown();
        host.userMode = userMode;
        host.SetSize(10815, 300);
        host.SetAlign(Align::Bottom);
        bar = std::make_unique<StatusBar>(host);
        ownProc = GetWindowLongPtrA(bar->Hwnd(), GWLP_WNDPROC);
        host.Attach(bar->Hwnd());
        bar->ReadProperties(bag);
    }
    void TearDown() override {
        if (bar)
            bar->Terminate();
    }
    HWND Status() const { return bar->ControlHwnd(); }
    PartShown Part(int i) const {
        char text[256] = {};
        const LRESULT r = SendMessageA(Status(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
        return {text, HIWORD(r)};
    }
    bool Hooked() const { return GetWindowLongPtrA(bar->Hwnd(), GWLP_WNDPROC) != ownProc; }

    TestHost host;
    std::unique_ptr<StatusBar> bar;
    LONG_PTR ownProc = 0; // the component window's procedure before any hook
};

// Counts what reaches the status window, to see how often the bar lays out and redraws.
struct StatusMessages {
    static inline int texts = 0, parts = 0;
    static inline WNDPROC previous = nullptr;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        texts += msg == SB_SETTEXTA;
        parts += msg == SB_SETPARTS;
        return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
    }
};

// The page on a bar at design time with three panels, as a designer opens it.
class PanelsPageTest : public StatusBarTest {
protected:
    void SetUp() override {
        PropertyBag bag;
        for (const auto& [key, text] : {std::pair{"count", "3"},
                                        {"paneltext(0)", "\"Current: 4\""},
                                        {"paneltext(1)", "\"New: 0\""},
                                        {"panelbevel(1)", "2"},
                                        {"panelvisible(2)", "False"},
                                        {"paneltag(2)", "\"activity\""}})
            bag.SetText(key, text);
        Make(bag, false);
        ASSERT_TRUE(page.Create(pageWindow.ContainerHwnd()));
        Open({bar.get()});
    }
    void Open(std::vector<Component*> selection) {
        page.SetSelectedControls(std::move(selection));
        page.SelectionChanged();
        host.changedKeys.clear();
    }
    HWND F(const char* name) const { return page.Field(name); }
    std::string T(const char* name) const { return TextOf(F(name)); }

    TestHost pageWindow{400, 270};
    PanelsPage page;
};

} // namespace

// Hidden panels get no width; the first with a width gives up 2 px; springs take what is left.
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

// A stored value that does not convert, or that its setter would refuse, skips only its step.
TEST_F(StatusBarTest, ReadsWhatItCanAndWritesBackOnlyWhatDiffers) {
    Make();
    EXPECT_EQ(bar->Panel(3), nullptr);
    EXPECT_EQ(bar->Panel(-1), nullptr);
    PropertyBag written;
    bar->WriteProperties(written);
    EXPECT_EQ(written, MainWindowBag());

    PropertyBag bag = MainWindowBag();
    bag.SetText("panelalignment(0)", "3");        // refused by the panel's setter
    bag.SetText("panelminwidth(1)", "40000");     // overflows 16 bits
    bag.SetText("panelalignment(2)", "\"left\""); // not a number
    bag.SetText("paneltext(2)", "\"Ready\"");
    Make(bag);
    EXPECT_EQ(bar->Panel(0)->Alignment(), sbrLeft);
    EXPECT_EQ(bar->Panel(1)->MinWidth(), 100);
    EXPECT_EQ(Part(2).first, "Ready");

    bag.SetText("count", "-2"); // would size the panel list negatively
    Make(bag);
    EXPECT_EQ(bar->Count(), 0);
}

// Panels past 254 get no text: their index OR'd with the bevel flags would name another part.
TEST_F(StatusBarTest, SendsAlignmentTabsAndBevelFlagsAndHoldsTextsBackOnRequest) {
    Make(PropertyBag());
    bar->SetCount(257);
    bar->Panel(0)->SetAlignment(sbrRight);
    bar->Panel(0)->SetText("Right");
    bar->Panel(1)->SetBevel(sbrNoBevel);
    bar->Panel(2)->SetAlignment(sbrCenter);
    bar->Panel(2)->SetBevel(sbrRaised);
    bar->Panel(256)->SetText("spill");
    EXPECT_EQ(Part(0), (PartShown{"\t\tRight", 0}));
    EXPECT_EQ(Part(1), (PartShown{"", SBT_NOBORDERS}));
    EXPECT_EQ(Part(2), (PartShown{"\t", SBT_POPOUT}));

    bar->SetPreventUpdate(true);
    bar->Panel(3)->SetText("Held");
    bar->SetPreventUpdate(false);
    EXPECT_EQ(Part(3).first, "");
    bar->UpdatePanels(-1);
    EXPECT_EQ(Part(3).first, "Held");
}

// At design time there is no hook; at run time clicks on a panel raise its events
// with the button until Terminate takes the hook off.
TEST_F(StatusBarTest, ClicksOnAPanelRaiseItsEventsAtRunTimeOnly) {
    Make(MainWindowBag(), false);
    EXPECT_FALSE(Hooked());
    Make();
    ASSERT_TRUE(Hooked());
    using Event = std::tuple<char, std::int16_t, std::int16_t>;
    std::vector<Event> events;
    bar->PanelClick = [&](Panel& p, std::int16_t b) { events.emplace_back('c', p.Index(), b); };
    bar->PanelDblClick = [&](Panel& p, std::int16_t b) { events.emplace_back('d', p.Index(), b); };
    RECT part{};
    SendMessageA(Status(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    POINT point{(part.left + part.right) / 2, (part.top + part.bottom) / 2}, now{};
    ClientToScreen(Status(), &point);
    SetCursorPos(point.x, point.y);
    if (!GetCursorPos(&now) || now.x != point.x || now.y != point.y)
        GTEST_SKIP() << "the display did not move the cursor onto the panel";
    // Sent as the native bar notifies its parent of a click.
    const auto notify = [&](int code) {
        NMMOUSE m{};
        m.hdr = {Status(), 0, static_cast<UINT>(code)};
        m.dwItemSpec = 1;
        return SendMessageA(bar->Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&m));
    };
    for (const int code : {NM_CLICK, NM_RCLICK, NM_DBLCLK, NM_RDBLCLK, NM_RETURN})
        EXPECT_EQ(notify(code), 0);
    EXPECT_EQ(events, (std::vector<Event>{{'c', 1, 1}, {'c', 1, 2}, {'d', 1, 1}, {'d', 1, 2}}));
    POINT away{5, 5}; // on the holding window, off the bar
    ClientToScreen(host.ContainerHwnd(), &away);
    SetCursorPos(away.x, away.y);
    notify(NM_CLICK);
    EXPECT_EQ(events.size(), 4u);
    bar->Terminate();
    EXPECT_FALSE(Hooked());
}

// Moving the index first writes the pending edits into the panel that was shown, laying out and
// redrawing once, then shows the next one with nothing pending; with nowhere to move nothing
// applies.
TEST_F(PanelsPageTest, MovingTheIndexAppliesThePendingEditFirst) {
    EXPECT_FALSE(page.Changed()); // loading raised the fields' events, yet nothing is pending
    Type(F("TextText"), "Current: 5");
    Choose(F("ComboBevel"), sbrNoBevel);
    EXPECT_TRUE(page.Changed());
    const HWND status = bar->ControlHwnd();
    StatusMessages::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusMessages::Proc)));
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusMessages::previous));
    EXPECT_EQ(StatusMessages::parts, 1);
    EXPECT_EQ(StatusMessages::texts, 1);
    EXPECT_EQ(Part(0), PartShown("Current: 5", SBT_NOBORDERS));
    EXPECT_EQ(T("TextText"), "New: 0");
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(bar->PreventUpdate());

    host.changedKeys.clear();
    Scroll(F("HScrollIndex"), SB_RIGHT);
    EXPECT_EQ(T("TextTag"), "activity");
    Type(F("TextTag"), "busy");
    Scroll(F("HScrollIndex"), SB_LINERIGHT); // already at the end: nothing moves or applies
    EXPECT_TRUE(host.changedKeys.empty());
    EXPECT_TRUE(page.Changed());
}
