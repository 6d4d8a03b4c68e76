#include "win32/TextList.h"

#include <gtest/gtest.h>

#include <string>

using namespace cw;

// Texts read back as added, and each found at its place, indexed or not: through the collisions
// of many texts, for the empty text and for one added twice (the first place).
TEST(TextList, GivesBackEachTextAndFindsItsFirstPlace) {
    TextList list;
    EXPECT_EQ(list.Find("a"), 0u);
    list.Index();
    EXPECT_EQ(list.Find("a"), 0u);
    list.Add("");
    for (int i = 0; i < 5000; ++i)
        list.Add("Shortcut ", std::to_string(i) + ".lnk");
    list.Add("Shortcut 7.lnk");
    for (const bool indexed : {false, true}) {
        if (indexed)
            list.Index();
        EXPECT_EQ(list[0], "");
        EXPECT_EQ(list.Find(""), 0u);
        EXPECT_EQ(list[4321], "Shortcut 4320.lnk");
        EXPECT_EQ(list.Find("Shortcut 4320.lnk"), 4321u);
        EXPECT_EQ(list.Find("Shortcut 7.lnk"), 8u);
        EXPECT_EQ(list.Find("Shortcut 5000.lnk"), list.Size());
    }
}
