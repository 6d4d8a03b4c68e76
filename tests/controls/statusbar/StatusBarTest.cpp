#include "TestHost.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/statusbar/StatusBarLayout.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <tuple>

using namespace cw;

namespace {

using Edges = std::vector<int>;
using PartText = std::pair<std::string, unsigned>; // text and SBT_ flags

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
    void Make(const PropertyBag* bag = nullptr, bool userMode = true) {
        host.userMode = userMode;
        host.SetSize(10815, 300);
        host.SetAlign(Align::Bottom);
        bar = std::make_unique<StatusBar>(host);
        host.Attach(bar->Hwnd());
        bag ? bar->ReadProperties(*bag) : bar->InitProperties();
    }
    void MakeMain() {
        const PropertyBag saved = MainWindowBag();
        Make(&saved);
    }
    void TearDown() override {
        if (bar)
            bar->Terminate();
    }
    HWND Status() const { return bar->ControlHwnd(); }
    PartText Part(int i) const {
        char text[256] = {};
        const LRESULT r = SendMessageA(Status(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
        return {text, HIWORD(r)};
    }
    Edges Parts() const {
        int edges[300] = {};
        return Edges(edges, edges + SendMessageA(Status(), SB_GETPARTS, 300,
                                                 reinterpret_cast<LPARAM>(edges)));
    }
    HFONT WindowFont() const {
        return reinterpret_cast<HFONT>(SendMessageA(Status(), WM_GETFONT, 0, 0));
    }
    LRESULT Tools() const { return SendMessageA(bar->TipHwnd(), TTM_GETTOOLCOUNT, 0, 0); }

    cwtest::TestHost host;
    std::unique_ptr<StatusBar> bar;
};

TEST_F(StatusBarTest, TheMainWindowsSavedStateGivesThreePanelsAndWritesBackUnchanged) {
    const PropertyBag saved = MainWindowBag();
    Make(&saved);
    ASSERT_EQ(bar->Count(), 3);
    for (std::int16_t i = 0; i < 3; ++i) {
        const Panel* p = bar->Panel(i);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Index(), i);
        EXPECT_EQ(p->AutoSize(), i < 2 ? sbrContents : sbrSpring);
        EXPECT_TRUE(p->MinWidth() == 100 && p->Bevel() == sbrInset && p->Visible() &&
                    p->Text().empty());
    }
    EXPECT_EQ(bar->Panel(3), nullptr);
    EXPECT_EQ(bar->Panel(-1), nullptr);
    PropertyBag written;
    bar->WriteProperties(written);
    EXPECT_EQ(written, saved); // only what differs from the defaults
}

TEST_F(StatusBarTest, AStoredValueThatCannotBeTakenSkipsOnlyItsStep) {
    PropertyBag bag = MainWindowBag();
    bag.SetText("font", "font(\"Arial\")");
    bag.SetText("panelbevel(0)", "7");            // refused by the setter
    bag.SetText("panelminwidth(1)", "40000");     // overflows 16 bits
    bag.SetText("panelalignment(2)", "\"left\""); // not a number
    bag.SetText("paneltext(2)", "\"Ready\"");
    host.ambientFont = {"Tahoma", 9};
    Make(&bag);
    EXPECT_EQ(bar->Font(), host.ambientFont);
    EXPECT_EQ(bar->Panel(0)->Bevel(), sbrInset);
    EXPECT_EQ(bar->Panel(1)->MinWidth(), 100);
    EXPECT_EQ(bar->Panel(2)->Alignment(), sbrLeft);
    EXPECT_EQ(Part(2).first, "Ready");
}

TEST_F(StatusBarTest, ACountOrStyleThatSettersWouldRefuseIsNotRead) {
    PropertyBag bag;
    bag.SetText("count", "-2");
    bag.SetText("style", "7");
    Make(&bag);
    EXPECT_EQ(bar->Count(), 0);
    EXPECT_EQ(bar->Style(), 0);
}

TEST_F(StatusBarTest, RaisingCountAgainStartsThePanelsAfresh) {
    MakeMain();
    bar->Panel(0)->SetText("kept");
    bar->SetCount(5);
    bar->Panel(3)->SetText("old");
    bar->Panel(4)->SetBevel(sbrRaised);
    bar->SetCount(3);
    EXPECT_EQ(bar->Panel(3), nullptr);
    host.changedKeys.clear();
    bar->SetCount(5);
    EXPECT_EQ(bar->Panel(3)->Text(), "");
    EXPECT_EQ(bar->Panel(4)->Bevel(), sbrInset);
    EXPECT_EQ(bar->Panel(4)->Index(), 4);
    EXPECT_EQ(bar->Panel(0)->Text(), "kept");
    // A designer records the new panels' values: "Count", then 8 keys for each new panel.
    ASSERT_EQ(host.changedKeys.size(), 17u);
    EXPECT_EQ(host.changedKeys.back(), "PanelVisible(4)");
    EXPECT_EQ(Parts().size(), 5u);
}

TEST_F(StatusBarTest, LaysOutTheMainWindowsPanelsInItsFont) {
    MakeMain();
    HDC dc = GetDC(Status());
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    LOGFONTA lf{};
    GetObjectA(WindowFont(), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -FontHeight(host.ambientFont.size, dpi));
    const auto width = [&](const char* text) {
        SIZE size{};
        HGDIOBJ old = SelectObject(dc, WindowFont());
        GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
        SelectObject(dc, old);
        return static_cast<int>(size.cx);
    };
    bar->Panel(0)->SetText("12 current items / 0 selected ");
    bar->Panel(1)->SetText("0 new items / 0 selected ");
    const int a = width("12 current items / 0 selected "), b = width("0 new items / 0 selected ");
    ReleaseDC(Status(), dc);
    const int w = host.ContainerClientWidth();
    EXPECT_EQ(Parts(), (Edges{a + 5, a + b + 12, w}));
    EXPECT_EQ(bar->Panel(2)->ActualWidth(), w - a - b - 12);

    host.ResizeContainer(600, 300);
    EXPECT_EQ(Parts(), (Edges{a + 5, a + b + 12, 600}));
    // A hidden panel keeps its text but no width.
    bar->Panel(1)->SetVisible(false);
    EXPECT_EQ(Parts(), (Edges{a + 5, a + 5, 600}));
    EXPECT_EQ(Part(1).first, "0 new items / 0 selected ");

    bar->SetFont({"Arial", 9.5, true});
    GetObjectA(WindowFont(), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, dpi, 72));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_NE(Parts()[0], a + 5); // measured again in the new font
}

TEST_F(StatusBarTest, SendsAlignmentTabsAndBevelFlags) {
    Make();
    bar->SetCount(257);
    bar->Panel(0)->SetAlignment(sbrRight);
    bar->Panel(0)->SetText("Right");
    bar->Panel(1)->SetBevel(sbrNoBevel);
    bar->Panel(2)->SetAlignment(sbrCenter);
    bar->Panel(2)->SetBevel(sbrRaised);
    bar->Panel(256)->SetText("spill"); // 256 | flags would name part 0
    EXPECT_EQ(Part(0), (PartText{"\t\tRight", 0}));
    EXPECT_EQ(LOWORD(SendMessageA(Status(), SB_GETTEXTLENGTHA, 0, 0)), 7);
    EXPECT_EQ(Part(1), (PartText{"", SBT_NOBORDERS}));
    EXPECT_EQ(Part(2), (PartText{"\t", SBT_POPOUT}));
}

TEST_F(StatusBarTest, SimpleStyleKeepsThePanelTextsForTheReturn) {
    MakeMain();
    bar->Panel(0)->SetText("Zero");
    bar->SetStyle(1);
    bar->SetSimpleText("Busy");
    // Wine reports the simple text for every part index while simple, and none for SB_SIMPLEID.
    const std::string simple = Part(SB_SIMPLEID).first;
    EXPECT_EQ(simple.empty() ? Part(0).first : simple, "Busy");
    // The list waits for the panels style; nothing reads past it meanwhile.
    bar->SetCount(5);
    EXPECT_EQ(bar->Panel(4), nullptr);
    bar->UpdatePanels(-1);
    bar->SetStyle(0);
    EXPECT_FALSE(SendMessageA(Status(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Part(0).first, "Zero");
    EXPECT_NE(bar->Panel(4), nullptr);
}

TEST_F(StatusBarTest, PreventUpdateHoldsTheRedrawUntilUpdatePanels) {
    MakeMain();
    bar->SetPreventUpdate(true);
    bar->Panel(0)->SetText("Held");
    bar->SetPreventUpdate(false);
    EXPECT_EQ(Part(0).first, "");
    bar->UpdatePanels(-1);
    EXPECT_EQ(Part(0).first, "Held");
}

TEST_F(StatusBarTest, OneToolPerPanelWithItsTextRefreshedInPlace) {
    MakeMain();
    EXPECT_EQ(Tools(), 3);
    bar->Panel(1)->SetToolTipText("The new order");
    EXPECT_EQ(Tools(), 3);
    char text[80] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Status();
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(bar->TipHwnd(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "The new order");
    RECT part{};
    SendMessageA(Status(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    ASSERT_TRUE(SendMessageA(bar->TipHwnd(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_TRUE(EqualRect(&tool.rect, &part));
}

TEST_F(StatusBarTest, HooksOnlyAtRunTimeAndUnhooksOnTerminate) {
    const PropertyBag saved = MainWindowBag();
    Make(&saved, false);
    EXPECT_EQ(Tools(), 0);
    const LONG_PTR unhooked = GetWindowLongPtrA(bar->Hwnd(), GWLP_WNDPROC);
    EXPECT_EQ(GetPropA(bar->Hwnd(), "StatusBar"), nullptr);
    bar->Terminate();

    Make(&saved, true);
    HWND own = bar->Hwnd();
    EXPECT_NE(GetWindowLongPtrA(own, GWLP_WNDPROC), unhooked);
    EXPECT_EQ(GetPropA(own, "StatusBar"), static_cast<HANDLE>(bar.get()));
    bar->Terminate();
    EXPECT_EQ(GetWindowLongPtrA(own, GWLP_WNDPROC), unhooked);
    EXPECT_EQ(GetPropA(own, "StatusBar"), nullptr);
    EXPECT_EQ(GetPropA(own, "StatusBarWindowProc"), nullptr);
}

TEST_F(StatusBarTest, SizeGripOnlyOnASizableHoldingWindow) {
    Make();
    for (const auto& [border, grip] : {std::pair{BorderStyle::FixedSingle, false},
                                       {BorderStyle::Sizable, true},
                                       {BorderStyle::SizableToolWindow, true}}) {
        host.borderStyle = border;
        bar->SetCount(0); // rebuilds the status window
        EXPECT_EQ((GetWindowLongPtrA(Status(), GWL_STYLE) & SBARS_SIZEGRIP) != 0, grip);
    }
}

TEST_F(StatusBarTest, ClicksOnPanelOneRaiseItsEventsWithTheButton) {
    MakeMain();
    bar->Panel(0)->SetText("Current");
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
}

} // namespace
