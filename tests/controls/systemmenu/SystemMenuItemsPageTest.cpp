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

// The main window's control: a separator, then "&About Clutterwise...".
PropertyBag MainWindowBag() {
    PropertyBag bag;
    bag.SetText("count", "2");
    bag.SetText("systemmenuitemstyle(0)", "1");
    bag.SetText("systemmenuitemtext(1)", "\"&About Clutterwise...\"");
    return bag;
}

class SystemMenuItemsPageTest : public ::testing::Test {
protected:
    SystemMenuItemsPageTest() {
        host.userMode = false;
        control.ReadProperties(MainWindowBag());
    }
    void SetUp() override {
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

TEST_F(SystemMenuItemsPageTest, ShowsTheSeparatorThenTheAboutCommand) {
    EXPECT_EQ(page.Caption(), "SystemMenuItems");
    EXPECT_EQ(SendMessageA(F("ComboStyle"), CB_GETCOUNT, 0, 0), 2);
    char entry[64] = "";
    SendMessageA(F("ComboStyle"), CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "1 - smSeparator");
    EXPECT_EQ(T("TextIndex"), "0");
    EXPECT_EQ(Position(F("ComboStyle")), smSeparator);
    EXPECT_TRUE(TextFieldsEnabled(false));
    EXPECT_FALSE(page.Changed()); // loading raised the fields' events, yet nothing is pending

    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    EXPECT_EQ(T("TextIndex"), "1");
    EXPECT_EQ(T("TextText"), "&About Clutterwise...");
    EXPECT_EQ(Position(F("ComboStyle")), smDefault);
    EXPECT_TRUE(TextFieldsEnabled(true));
    EXPECT_FALSE(Ticked(F("CheckChecked")));
    EXPECT_TRUE(Ticked(F("CheckEnabled")));
    EXPECT_FALSE(page.Changed());
}

TEST_F(SystemMenuItemsPageTest, AnEditReachesItsItemBeforeTheNextOneIsShown) {
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    host.changedKeys.clear();
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
    EXPECT_EQ(T("TextText"), "&About Clutterwise...");
    EXPECT_FALSE(Ticked(F("CheckEnabled")));
    Choose(F("ComboStyle"), smDefault);
    EXPECT_TRUE(TextFieldsEnabled(true));
    EXPECT_EQ(T("TextText"), "&About Clutterwise...");
    Choose(F("ComboStyle"), smSeparator);
    page.ApplyChanges();
    const SystemMenuItem& item = *control.SystemMenuItem(1);
    EXPECT_TRUE(item.Style() == smSeparator && item.Text() == "&About Clutterwise..." &&
                !item.Enabled());
}

TEST_F(SystemMenuItemsPageTest, AControlWithoutItemsDisablesEveryField) {
    TestHost other;
    other.userMode = false;
    SystemMenu empty{other};
    empty.InitProperties();
    Open(empty);
    for (const char* name :
         {"LabelIndex", "TextIndex", "HScrollIndex", "LabelText", "TextText", "LabelStyle",
          "ComboStyle", "CheckChecked", "CheckEnabled", "LabelTag", "TextTag"})
        EXPECT_FALSE(Enabled(F(name))) << name;
    for (const char* name : {"TextIndex", "TextText", "ComboStyle", "TextTag"})
        EXPECT_EQ(page.BackColor(name), 0x80000000u) << name;
    other.changedKeys.clear();
    page.ApplyChanges();
    EXPECT_TRUE(other.changedKeys.empty());
    // Shown again for a control with items, the page edits it.
    Open(control);
    EXPECT_EQ(Position(F("ComboStyle")), smSeparator);
    EXPECT_TRUE(Enabled(F("ComboStyle")) && Enabled(F("HScrollIndex")));
    EXPECT_TRUE(TextFieldsEnabled(false));
}
