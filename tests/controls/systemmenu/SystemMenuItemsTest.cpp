// The item list, its announcements and its saved form, at design time (no menu involved).
#include "TestHost.h"
#include "controls/systemmenu/SystemMenu.h"
#include "controls/systemmenu/SystemMenuEntry.h"

#include <gtest/gtest.h>

namespace {

using Keys = std::vector<std::string>;

struct DesignedControl : ::testing::Test {
    DesignedControl() { host.userMode = false; }
    Keys Written() const {
        cw::PropertyBag bag;
        control.WriteProperties(bag);
        Keys keys;
        for (const auto& entry : bag.Entries())
            keys.push_back(entry.key + "=" + entry.text);
        return keys;
    }
    cwtest::TestHost host;
    cw::SystemMenu control{host};
};

TEST_F(DesignedControl, SavesOnlyWhatDiffersFromTheDefaultsInKeyOrder) {
    control.ReadProperties({});
    EXPECT_TRUE(control.Count() == 0 && control.Enabled() && !control.SystemMenuItem(0));
    EXPECT_EQ(Written(), Keys{});
    control.SetCount(2);
    EXPECT_EQ(Written(), Keys{"count=2"});
    control.SetEnabled(false);
    auto& item = *control.SystemMenuItem(1);
    item.SetChecked(true);
    item.SetEnabled(false);
    item.SetStyle(cw::smSeparator);
    item.SetTag("t");
    item.SetText("&Help");
    EXPECT_EQ(Written(), (Keys{"count=2", "enabled=False", "systemmenuitemchecked(1)=True",
                               "systemmenuitemenabled(1)=False", "systemmenuitemstyle(1)=1",
                               "systemmenuitemtag(1)=\"t\"", "systemmenuitemtext(1)=\"&Help\""}));
}

// A stored value that does not convert, or is out of range, skips only its own step.
TEST_F(DesignedControl, BadStoredValuesSkipOnlyTheirStep) {
    cw::PropertyBag bag;
    bag.SetText("count", "-3");
    control.ReadProperties(bag);
    EXPECT_EQ(control.Count(), 0);
    bag.SetText("count", "2");
    bag.SetText("systemmenuitemstyle(0)", "5");
    bag.SetText("systemmenuitemtext(0)", "\"Zero\"");
    bag.SetText("systemmenuitemchecked(1)", "\"maybe\"");
    bag.SetText("systemmenuitemenabled(1)", "False");
    control.ReadProperties(bag);
    EXPECT_EQ(control.SystemMenuItem(0)->Style(), cw::smDefault);
    EXPECT_EQ(control.SystemMenuItem(0)->Text(), "Zero");
    EXPECT_FALSE(control.SystemMenuItem(1)->Checked() || control.SystemMenuItem(1)->Enabled());
}

TEST_F(DesignedControl, CountGrowsWithFreshAnnouncedItemsAndShrinksThemAway) {
    control.SetCount(1);
    EXPECT_EQ(host.changedKeys, (Keys{"Count", "MenuChecked(0)", "MenuEnabled(0)", "MenuStyle(0)",
                                      "MenuTag(0)", "MenuText(0)"}));
    control.SetCount(4);
    control.SystemMenuItem(1)->SetText("kept");
    host.changedKeys.clear();
    control.SystemMenuItem(2)->SetChecked(true);
    control.SystemMenuItem(2)->SetStyle(2); // refused: neither stored nor announced
    control.SetCount(-1);
    EXPECT_EQ(host.changedKeys, Keys{"MenuChecked(2)"});
    control.SetCount(2);
    EXPECT_EQ(control.SystemMenuItem(2), nullptr);
    control.SetCount(3);
    const auto& fresh = *control.SystemMenuItem(2);
    EXPECT_TRUE(fresh.Index() == 2 && !fresh.Checked() && fresh.Enabled() && fresh.Style() == 0);
    EXPECT_EQ(control.SystemMenuItem(1)->Text(), "kept");
    for (const std::int16_t outside : {std::int16_t{-1}, std::int16_t{3}, std::int16_t{32767}})
        EXPECT_EQ(control.SystemMenuItem(outside), nullptr) << outside;
}

// A separator can be neither chosen nor checked, whatever its item says.
TEST(SystemMenuEntry, SeparatorsCarryNoStateAndTextEntriesGreyWithTheControl) {
    EXPECT_EQ(cw::LookOfEntry(cw::smSeparator, true, false, false).state, 0u);
    EXPECT_EQ(cw::LookOfEntry(cw::smDefault, true, true, false).state,
              UINT{MFS_CHECKED | MFS_GRAYED});
}

} // namespace
