// The Panels page against a status bar at design time, driven through its fields.
#include "PageDriver.h"
#include "TestHost.h"
#include "controls/statusbar/PanelsPage.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>

using namespace cw;
using namespace cwtest;

namespace {

using Keys = std::vector<std::string>;
using PartText = std::pair<std::string, unsigned>; // text and SBT_ flags

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

class PanelsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.userMode = false;
        bar = MakeBar(host, 3);
        bar->Panel(0)->SetText("Current: 4");
        bar->Panel(1)->SetText("New: 0");
        bar->Panel(1)->SetBevel(sbrRaised);
        bar->Panel(2)->SetVisible(false);
        bar->Panel(2)->SetTag("activity");
        ASSERT_TRUE(page.Create(pageWindow.ContainerHwnd()));
        Open({bar.get()});
    }
    void TearDown() override { bar->Terminate(); }
    static std::unique_ptr<StatusBar> MakeBar(TestHost& on, std::int16_t count) {
        auto made = std::make_unique<StatusBar>(on);
        on.Attach(made->Hwnd());
        made->InitProperties();
        made->SetCount(count);
        return made;
    }
    void Open(std::vector<Component*> selection) {
        page.SetSelectedControls(std::move(selection));
        page.SelectionChanged();
        host.changedKeys.clear();
    }
    HWND F(const char* name) const { return page.Field(name); }
    std::string T(const char* name) const { return TextOf(F(name)); }

    TestHost host;
    TestHost pageWindow{400, 270};
    std::unique_ptr<StatusBar> bar;
    PanelsPage page;
};

} // namespace

// Every field's edit sets Changed; moving the index first writes the pending edit into the panel
// that was shown, then shows the next one with nothing pending; looking on changes nothing.
TEST_F(PanelsPageTest, MovingTheIndexAppliesThePendingEditFirst) {
    EXPECT_TRUE(T("TextIndex") == "0" && !Enabled(F("TextIndex")));
    EXPECT_EQ(T("TextText"), "Current: 4");
    EXPECT_FALSE(page.Changed()); // loading raised the fields' events, yet nothing is pending
    const std::function<void()> edits[] = {[&] { Type(F("TextText"), "Current: 5"); },
                                           [&] { Type(F("TextMinwidth"), "60"); },
                                           [&] { Type(F("TextTooltiptext"), "tip"); },
                                           [&] { Type(F("TextTag"), "t"); },
                                           [&] { Choose(F("ComboAlignment"), sbrRight); },
                                           [&] { Choose(F("ComboBevel"), sbrNoBevel); },
                                           [&] { Tick(F("CheckVisible")); },
                                           [&] { Tick(F("CheckVisible")); }};
    for (const auto& edit : edits) {
        page.SetChanged(false);
        edit();
        EXPECT_TRUE(page.Changed());
    }
    // The bar lays out and redraws once, when every field is written.
    const HWND status = bar->ControlHwnd();
    StatusMessages::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusMessages::Proc)));
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusMessages::previous));
    EXPECT_EQ(StatusMessages::parts, 1);
    EXPECT_EQ(StatusMessages::texts, 1);
    const Panel& zero = *bar->Panel(0);
    EXPECT_TRUE(zero.Text() == "Current: 5" && zero.MinWidth() == 60 &&
                zero.Alignment() == sbrRight && zero.Bevel() == sbrNoBevel &&
                zero.ToolTipText() == "tip" && zero.Tag() == "t" && zero.Visible());
    char text[64] = "";
    const LRESULT got = SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(PartText(text, HIWORD(got)), PartText("\t\tCurrent: 5", SBT_NOBORDERS));
    EXPECT_EQ(host.changedKeys,
              (Keys{"PanelText(0)", "PanelMinWidth(0)", "PanelAlignment(0)", "PanelAutoSize(0)",
                    "PanelBevel(0)", "PanelVisible(0)", "PanelToolTipText(0)", "PanelTag(0)"}));
    EXPECT_EQ(T("TextIndex"), "1");
    EXPECT_EQ(T("TextText"), "New: 0");
    EXPECT_EQ(Position(F("ComboBevel")), sbrRaised);
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(bar->PreventUpdate());

    host.changedKeys.clear();
    Scroll(F("HScrollIndex"), SB_RIGHT);
    EXPECT_EQ(T("TextIndex"), "2");
    EXPECT_FALSE(Ticked(F("CheckVisible")));
    EXPECT_EQ(T("TextTag"), "activity");
    Type(F("TextTag"), "busy");
    Scroll(F("HScrollIndex"), SB_LINERIGHT); // already at the end: nothing moves or applies
    EXPECT_TRUE(host.changedKeys.empty());
    EXPECT_TRUE(page.Changed());
}

TEST(LeadingNumber, TakesTheNumberTheTextBeginsWith) {
    const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
        {"150px", 150},   {"  -7", -7},
        {"wide", 0},      {"", 0},
        {"2.5", 2},       {"3.5", 4},
        {"32767", 32767}, {"-32768", -32768},
        {"32768", {}},    {"99999999999999999999999", {}}}; // halves to the even neighbour
    for (const auto& [text, number] : cases)
        EXPECT_EQ(LeadingNumber16(text), number) << text;
}

// A MinWidth text that gives no width the panel takes leaves MinWidth alone; one too large for a
// width is refused the same way, and the other fields still apply.
TEST_F(PanelsPageTest, AMinWidthTextThatIsNoWidthLeavesMinWidthAndAppliesTheRest) {
    for (const char* text : {"wide", "-5", "99999"}) {
        Type(F("TextMinwidth"), text);
        Type(F("TextTag"), text);
        page.ApplyChanges();
        EXPECT_EQ(bar->Panel(0)->MinWidth(), 100) << text;
        EXPECT_EQ(bar->Panel(0)->Tag(), text);
        EXPECT_FALSE(bar->PreventUpdate());
    }
    EXPECT_EQ(std::count(host.changedKeys.begin(), host.changedKeys.end(), "PanelMinWidth(0)"), 0);
    Type(F("TextMinwidth"), "80 pixels");
    page.ApplyChanges();
    EXPECT_EQ(bar->Panel(0)->MinWidth(), 80);
}

TEST_F(PanelsPageTest, ABarWithoutPanelsDisablesThePageUntilOneWithPanelsIsShown) {
    TestHost other;
    other.userMode = false;
    auto empty = MakeBar(other, 0);
    other.changedKeys.clear();
    Open({empty.get(), bar.get()}); // only the first selected counts
    for (const char* name : {"TextIndex", "HScrollIndex", "TextText", "ComboBevel", "CheckVisible",
                             "LabelTag", "TextTag"})
        EXPECT_FALSE(Enabled(F(name))) << name;
    EXPECT_EQ(page.BackColor("TextText"), 0x80000000u);
    page.ApplyChanges();
    EXPECT_TRUE(host.changedKeys.empty() && other.changedKeys.empty());

    Open({bar.get(), empty.get()});
    EXPECT_TRUE(Enabled(F("TextText")) && Enabled(F("HScrollIndex")) && Enabled(F("LabelTag")));
    EXPECT_FALSE(Enabled(F("TextIndex")));
    EXPECT_EQ(page.BackColor("TextText"), 0x80000005u);
    Type(F("TextText"), "first");
    page.ApplyChanges();
    EXPECT_EQ(bar->Panel(0)->Text(), "first");
    empty->Terminate();
}
