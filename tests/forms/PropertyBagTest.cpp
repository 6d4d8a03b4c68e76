#include "forms/PropertyBag.h"

#include <gtest/gtest.h>

using namespace cw;

// Numbers in the forms a design holds; a read that cannot convert gives nothing, so its caller
// skips that one step and reads the next.
TEST(PropertyBag, ReadsTheFormsADesignHoldsAndFailsAloneOnTheRest) {
    const auto with = [](const char* text) {
        PropertyBag bag;
        bag.SetText("v", text);
        return bag;
    };
    EXPECT_EQ(with("&H7FFF").ReadInt16("v", 0).value_or(0), 0x7FFF);
    EXPECT_EQ(with("&H80000012&").ReadColour("v", 0).value_or(0), 0x80000012u);
    EXPECT_EQ(with("\"12\"").ReadInt32("v", 0).value_or(0), 12);
    EXPECT_EQ(with("-1").ReadBool("v", false).value_or(false), true);
    EXPECT_EQ(with("40000").ReadInt32("v", 0).value_or(0), 40000);
    EXPECT_FALSE(with("40000").ReadInt16("v", 0)); // overflows 16 bits
    EXPECT_FALSE(with("99999999999").ReadInt32("v", 0));
    EXPECT_FALSE(with("\"abc\"").ReadInt32("v", 0));
    EXPECT_FALSE(with("maybe").ReadBool("v", true));
    EXPECT_FALSE(with("font(\"Verdana\")").ReadFont("v", Font{})); // no size
    EXPECT_FALSE(with("\"red\"").ReadColour("v", 0));
    EXPECT_FALSE(with("picture(3)").ReadPicture("v", Picture()));
    EXPECT_FALSE(with("font(\"Verdana\", 9)").ReadString("v", ""));
}
