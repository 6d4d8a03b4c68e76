// The item list, its announcements and its saved form, at design time (no menu involved).
#include "TestHost.h"
#include "controls/systemmenu/SystemMenu.h"
#include "controls/systemmenu/SystemMenuEntry.h"

#include <gtest/gtest.h>

namespace {

using Keys = std::vector<std::string>;

struct DesignedControl : ::testing::Test {
    DesignedControl() { host.userMode = false; }
    cwtest::TestHost host;
    cw::SystemMenu control{host};
};

// A stored value that does not convert, or is out of range, skips only its own step; what is
// saved again is what differs from the defaults, in key order.
TEST_F(DesignedControl, ReadsWhatItCanAndSavesOnlyWhatDiffers) {
    cw::PropertyBag bag;
    bag.SetText("count", "-3");
    control.ReadProperties(bag);
    EXPECT_EQ(control.Count(), 0);
    for (const auto& [key, text] : {std::pair{"count", "2"},
                                    {"enabled", "False"},
                                    {"systemmenuitemstyle(0)", "5"},
                                    {"systemmenuitemtext(0)", "\"Zero\""},
                                    {"systemmenuitemchecked(1)", "\"maybe\""},
                                    {"systemmenuitemenabled(1)", "False"},
                                    {"systemmenuitemstyle(1)", "1"},
                                    {"systemmenuitemtag(1)", "\"t\""}})
        bag.SetText(key, text);
    control.ReadProperties(bag);
    cw::PropertyBag saved;
    control.WriteProperties(saved);
    Keys written;
    for (const auto& entry : saved.Entries())
        written.push_back(entry.key + "=" + entry.text);
    EXPECT_EQ(written, (Keys{"count=2", "enabled=False", "systemmenuitemtext(0)=\"Zero\"",
                             "systemmenuitemenabled(1)=False", "systemmenuitemstyle(1)=1",
                             "systemmenuitemtag(1)=\"t\""}));
}

TEST_F(DesignedControl, CountGrowsWithFreshAnnouncedItemsAndShrinksThemAway) {
    control.SetCount(1);
    EXPECT_EQ(host.changedKeys, (Keys{"Count", "MenuChecked(0)", "MenuEnabled(0)", "MenuStyle(0)",
                                      "MenuTag(0)", "MenuText(0)"}));
    control.SetCount(4);
    host.changedKeys.clear();
    control.SystemMenuItem(2)->SetChecked(true);
    control.SystemMenuItem(2)->SetStyle(2); // refused: neither stored nor announced
    control.SetCount(-1);
    EXPECT_EQ(host.changedKeys, Keys{"MenuChecked(2)"});
    control.SetCount(2);
    control.SetCount(3);
    const auto& fresh = *control.SystemMenuItem(2);
    EXPECT_TRUE(fresh.Index() == 2 && !fresh.Checked() && fresh.Style() == cw::smDefault);
    for (const std::int16_t outside : {std::int16_t{-1}, std::int16_t{3}})
        EXPECT_EQ(control.SystemMenuItem(outside), nullptr) << outside;
}

// A separator can be neither chosen nor checked, whatever its item says (Wine reports every
// separator greyed, so the menu itself cannot show this).
TEST(SystemMenuEntry, SeparatorsCarryNoStateAndTextEntriesGreyWithTheControl) {
    EXPECT_EQ(cw::LookOfEntry(cw::smSeparator, true, false, false).state, 0u);
    EXPECT_EQ(cw::LookOfEntry(cw::smDefault, true, true, false).state,
              UINT{MFS_CHECKED | MFS_GRAYED});
}

} // namespace
