#include "controls/statusbar/Panel.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cw;

namespace {

struct RecordingOwner : PanelOwner {
    std::vector<std::string> keys;
    std::vector<std::int16_t> updates;
    void NotifyPropertyChanged(const std::string& key) override { keys.push_back(key); }
    void UpdatePanels(std::int16_t index) override { updates.push_back(index); }
};

TEST(Panel, EachSetNotifiesItsKeyThenAsksForARedraw) {
    RecordingOwner owner;
    Panel p;
    p.SetParent(&owner);
    p.SetIndex(12);
    p.SetAlignment(sbrRight);
    p.SetAutoSize(sbrSpring);
    p.SetBevel(sbrNoBevel);
    p.SetMinWidth(1);
    p.SetTag("t");
    p.SetText("x");
    p.SetToolTipText("tip");
    p.SetVisible(false);
    EXPECT_EQ(owner.keys,
              (std::vector<std::string>{"PanelAlignment(12)", "PanelAutoSize(12)", "PanelBevel(12)",
                                        "PanelMinWidth(12)", "PanelTag(12)", "PanelText(12)",
                                        "PanelToolTipText(12)", "PanelVisible(12)"}));
    // Sizing changes move every panel; the rest redraw their own.
    EXPECT_EQ(owner.updates, (std::vector<std::int16_t>{12, -1, 12, -1, 12, 12, 12, 12}));
    EXPECT_EQ(p.MinWidth(), 1);
}

TEST(Panel, ValuesOutOfRangeAreDroppedSilently) {
    RecordingOwner owner;
    Panel p;
    p.SetParent(&owner);
    p.SetIndex(2);
    for (const std::int32_t bad : {-1, 3}) {
        p.SetAlignment(bad);
        p.SetAutoSize(bad);
        p.SetBevel(bad);
    }
    p.SetMinWidth(0);
    p.SetIndex(-1);
    EXPECT_TRUE(owner.keys.empty() && owner.updates.empty());
    EXPECT_EQ(p.Alignment(), sbrLeft);
    EXPECT_EQ(p.AutoSize(), sbrNoAutoSize);
    EXPECT_EQ(p.Bevel(), sbrInset);
    EXPECT_EQ(p.MinWidth(), 100);
    EXPECT_EQ(p.Index(), 2);
}

} // namespace
