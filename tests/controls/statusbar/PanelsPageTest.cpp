// The Panels page against a status bar at design time, driven through its fields.
#include "PageDriver.h"
#include "TestHost.h"
#include "controls/statusbar/PanelsPage.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

using namespace cw;
using namespace cwtest;

namespace {

using Keys = std::vector<std::string>;

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
        bar->Panel(0)->SetToolTipText("Items in the current order");
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

TEST_F(PanelsPageTest, OpensOnPanelZeroWithTheComboEntriesAndNothingToApply) {
    EXPECT_EQ(page.Caption(), "Panels");
    EXPECT_EQ(T("TextIndex"), "0");
    EXPECT_FALSE(Enabled(F("TextIndex")));
    EXPECT_EQ(page.BackColor("TextIndex"), 0x80000000u);
    EXPECT_EQ(page.BackColor("TextText"), 0x80000005u);
    int low = -1, high = -1;
    GetScrollRange(F("HScrollIndex"), SB_CTL, &low, &high);
    EXPECT_TRUE(low == 0 && high == 2);
    EXPECT_EQ(T("TextText"), "Current: 4");
    EXPECT_EQ(T("TextMinwidth"), "100");
    EXPECT_EQ(Position(F("ComboAlignment")), sbrLeft);
    EXPECT_EQ(Position(F("ComboAutosize")), sbrNoAutoSize);
    EXPECT_EQ(Position(F("ComboBevel")), sbrInset);
    EXPECT_TRUE(Ticked(F("CheckVisible")));
    EXPECT_EQ(T("TextTooltiptext"), "Items in the current order");
    EXPECT_FALSE(page.Changed());
    char entry[64] = "";
    SendMessageA(F("ComboBevel"), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "2 - sbrRaised");
    EXPECT_EQ(SendMessageA(F("ComboAutosize"), CB_GETCOUNT, 0, 0), 3);
}

// Every field's edit sets Changed; moving the index first writes the pending edit into the panel
// that was shown, then shows the next one with nothing pending.
TEST_F(PanelsPageTest, MovingTheIndexAppliesThePendingEditFirst) {
    for (const char* text : {"TextText", "TextMinwidth", "TextTooltiptext", "TextTag"}) {
        page.SetChanged(false);
        Type(F(text), "7");
        EXPECT_TRUE(page.Changed()) << text;
    }
    page.SetChanged(false);
    Tick(F("CheckVisible"));
    EXPECT_TRUE(page.Changed());
    page.SetChanged(false);
    Choose(F("ComboAlignment"), sbrRight);
    EXPECT_TRUE(page.Changed());

    Type(F("TextText"), "Current: 5");
    Type(F("TextMinwidth"), "60");
    Tick(F("CheckVisible")); // back on
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    const Panel& zero = *bar->Panel(0);
    EXPECT_EQ(zero.Text(), "Current: 5");
    EXPECT_EQ(zero.MinWidth(), 60);
    EXPECT_EQ(zero.Alignment(), sbrRight);
    EXPECT_EQ(zero.ToolTipText(), "7");
    EXPECT_TRUE(zero.Visible());
    EXPECT_EQ(host.changedKeys,
              (Keys{"PanelText(0)", "PanelMinWidth(0)", "PanelAlignment(0)", "PanelAutoSize(0)",
                    "PanelBevel(0)", "PanelVisible(0)", "PanelToolTipText(0)", "PanelTag(0)"}));
    EXPECT_EQ(T("TextIndex"), "1");
    EXPECT_EQ(T("TextText"), "New: 0");
    EXPECT_EQ(Position(F("ComboBevel")), sbrRaised);
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(bar->PreventUpdate());

    // Looking through the panels without editing changes nothing.
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

TEST_F(PanelsPageTest, ApplyWritesEveryFieldAndRedrawsTheBarOnce) {
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    host.changedKeys.clear();
    Type(F("TextText"), "New: 3");
    Choose(F("ComboAlignment"), sbrCenter);
    Choose(F("ComboAutosize"), sbrContents);
    Choose(F("ComboBevel"), sbrNoBevel);
    Type(F("TextTag"), "t");
    HWND status = bar->ControlHwnd();
    StatusMessages::texts = StatusMessages::parts = 0;
    StatusMessages::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusMessages::Proc)));
    page.ApplyChanges();
    SetWindowLongPtrA(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusMessages::previous));
    EXPECT_EQ(StatusMessages::parts, 1);
    EXPECT_EQ(StatusMessages::texts, 1);
    const Panel& one = *bar->Panel(1);
    EXPECT_TRUE(one.Text() == "New: 3" && one.Alignment() == sbrCenter &&
                one.AutoSize() == sbrContents && one.Bevel() == sbrNoBevel && one.Tag() == "t");
    char text[64] = "";
    const LRESULT got = SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\tNew: 3");
    EXPECT_EQ(HIWORD(got) & SBT_NOBORDERS, SBT_NOBORDERS);
    EXPECT_EQ(host.changedKeys.size(), 8u);
    EXPECT_EQ(host.changedKeys.front(), "PanelText(1)");
}

TEST(LeadingNumber, TakesTheNumberTheTextBeginsWith) {
    EXPECT_EQ(LeadingNumber16("150px"), 150);
    EXPECT_EQ(LeadingNumber16("  -7"), -7);
    EXPECT_EQ(LeadingNumber16("wide"), 0);
    EXPECT_EQ(LeadingNumber16(""), 0);
    EXPECT_EQ(LeadingNumber16("2.5"), 2); // halves go to the even neighbour
    EXPECT_EQ(LeadingNumber16("3.5"), 4);
    EXPECT_EQ(LeadingNumber16("32767"), 32767);
    EXPECT_EQ(LeadingNumber16("-32768"), -32768);
    EXPECT_EQ(LeadingNumber16("32768"), std::nullopt);
    EXPECT_EQ(LeadingNumber16("99999999999999999999999"), std::nullopt);
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
        EXPECT_EQ(std::count(host.changedKeys.begin(), host.changedKeys.end(), "PanelMinWidth(0)"),
                  0);
    }
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
    for (const char* name : {"LabelIndex", "TextIndex", "HScrollIndex", "TextText", "ComboBevel",
                             "CheckVisible", "LabelTag", "TextTag"})
        EXPECT_FALSE(Enabled(F(name))) << name;
    for (const char* name : {"TextText", "TextMinwidth", "ComboAlignment", "CheckVisible"})
        EXPECT_EQ(page.BackColor(name), 0x80000000u) << name;
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
