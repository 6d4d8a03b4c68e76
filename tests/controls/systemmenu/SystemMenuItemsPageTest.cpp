// The SystemMenuItems page against a system menu control at design time, driven through its
// fields.
#include "PageDriver.h"
#include "TestHost.h"
#include "controls/systemmenu/SystemMenuItemsPage.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cwtest;

namespace {

using Keys = std::vector<std::string>;

class SystemMenuItemsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.userMode = false;
        PropertyBag bag; // the main window's control: a separator, then the About command
        bag.SetText("count", "2");
        bag.SetText("systemmenuitemstyle(0)", "1");
        bag.SetText("systemmenuitemtext(1)", "\"&About Clutterwise...\"");
        control.ReadProperties(bag);
        ASSERT_TRUE(page.Create(pageWindow.ContainerHwnd()));
        Open(control);
    }
    void Open(SystemMenu& shown) {
        page.SetSelectedControls({&shown});
        page.SelectionChanged();
        host.changedKeys.clear();
    }
    HWND F(const char* name) const { return page.Field(name); }
    std::string T(const char* name) const { return TextOf(F(name)); }
    // Whether the fields a separator does not use are enabled, all alike.
    ::testing::AssertionResult TextFieldsEnabled(bool enabled) const {
        for (const char* name :
             {"LabelText", "TextText", "CheckChecked", "CheckEnabled", "LabelTag", "TextTag"})
            if (Enabled(F(name)) != enabled)
                return ::testing::AssertionFailure() << name;
        const Colour back = enabled ? 0x80000005u : 0x80000000u;
        if (page.BackColor("TextText") != back || page.BackColor("TextTag") != back)
            return ::testing::AssertionFailure() << "background";
        return ::testing::AssertionSuccess();
    }

    TestHost host;
    TestHost pageWindow{400, 190};
    SystemMenu control{host};
    SystemMenuItemsPage page;
};

} // namespace

TEST_F(SystemMenuItemsPageTest, AnEditReachesItsItemBeforeTheNextOneIsShown) {
    EXPECT_EQ(T("TextIndex"), "0");
    EXPECT_EQ(Position(F("ComboStyle")), smSeparator);
    EXPECT_TRUE(TextFieldsEnabled(false));
    EXPECT_FALSE(page.Changed()); // loading raised the fields' events, yet nothing is pending
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    EXPECT_EQ(T("TextText"), "&About Clutterwise...");
    EXPECT_TRUE(TextFieldsEnabled(true));
    EXPECT_TRUE(host.changedKeys.empty()); // only looked at: nothing applied
    Type(F("TextText"), "&About...");
    EXPECT_TRUE(page.Changed());
    Tick(F("CheckChecked"));
    Type(F("TextTag"), "about");
    Scroll(F("HScrollIndex"), SB_LINELEFT);
    const SystemMenuItem& about = *control.SystemMenuItem(1);
    EXPECT_TRUE(about.Text() == "&About..." && about.Checked() && about.Enabled() &&
                about.Tag() == "about" && about.Style() == smDefault);
    EXPECT_EQ(host.changedKeys, (Keys{"MenuText(1)", "MenuStyle(1)", "MenuChecked(1)",
                                      "MenuEnabled(1)", "MenuTag(1)"}));
    EXPECT_EQ(T("TextIndex"), "0");
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(control.PreventUpdate());
}

// Choosing the separator greys the fields it does not use but keeps what they hold; the item
// keeps them too.
TEST_F(SystemMenuItemsPageTest, TheSeparatorStyleDisablesButKeepsTheTextFields) {
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    Tick(F("CheckEnabled"));
    page.SetChanged(false);
    Choose(F("ComboStyle"), smSeparator);
    EXPECT_TRUE(page.Changed());
    EXPECT_TRUE(TextFieldsEnabled(false));
    Choose(F("ComboStyle"), smDefault);
    EXPECT_TRUE(TextFieldsEnabled(true));
    Choose(F("ComboStyle"), smSeparator);
    page.ApplyChanges();
    const SystemMenuItem& item = *control.SystemMenuItem(1);
    EXPECT_TRUE(item.Style() == smSeparator && item.Text() == "&About Clutterwise..." &&
                !item.Enabled());
}

TEST_F(SystemMenuItemsPageTest, AControlWithoutItemsDisablesEveryFieldUntilOneWithItems) {
    TestHost other;
    other.userMode = false;
    SystemMenu empty{other};
    empty.InitProperties();
    Open(empty);
    EXPECT_FALSE(Enabled(F("HScrollIndex")));
    for (const char* name : {"TextIndex", "ComboStyle", "TextText", "TextTag"}) {
        EXPECT_FALSE(Enabled(F(name))) << name;
        EXPECT_EQ(page.BackColor(name), 0x80000000u) << name;
    }
    other.changedKeys.clear();
    page.ApplyChanges();
    EXPECT_TRUE(other.changedKeys.empty());
    Open(control);
    EXPECT_TRUE(Enabled(F("ComboStyle")) && Enabled(F("HScrollIndex")));
    EXPECT_TRUE(TextFieldsEnabled(false)); // item 0, the separator
}
