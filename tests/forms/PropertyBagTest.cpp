#include "forms/PropertyBag.h"

#include <gtest/gtest.h>

using namespace cw;

TEST(PropertyBag, MatchesKeysWithoutRegardToCaseAndStoresThemInLowerCase) {
    PropertyBag bag;
    bag.WriteString("PanelText(0)", "Ready", "");
    EXPECT_EQ(bag.ReadString("paneltext(0)", "").value(), "Ready");
    EXPECT_EQ(bag.ReadString("PANELTEXT(0)", "").value(), "Ready");
    bag.WriteString("PANELTEXT(0)", "Busy", "");
    ASSERT_EQ(bag.Entries().size(), 1u);
    EXPECT_EQ(bag.Entries()[0].key, "paneltext(0)");
    EXPECT_EQ(bag.Entries()[0].text, "\"Busy\"");
}

TEST(PropertyBag, WritesNothingForValuesEqualToTheirDefaults) {
    PropertyBag bag;
    bag.WriteInt16("Count", 0, 0);
    bag.WriteInt32("Style", 0, 0);
    bag.WriteBool("Enabled", true, true);
    bag.WriteString("SimpleText", "", "");
    bag.WriteColour("BackColor", 7954768, 7954768);
    bag.WriteFont("Font", Font{}, Font{});
    bag.WritePicture("Icon", Picture(), Picture());
    EXPECT_TRUE(bag.Empty());

    // Going back to the default takes the stored value out again.
    bag.WriteInt16("Count", 3, 0);
    EXPECT_FALSE(bag.Empty());
    bag.WriteInt16("Count", 0, 0);
    EXPECT_TRUE(bag.Empty());
}

TEST(PropertyBag, GivesTheDefaultForAnAbsentKey) {
    const PropertyBag bag;
    EXPECT_EQ(bag.ReadInt16("Count", 7).value(), 7);
    EXPECT_EQ(bag.ReadBool("Visible", true).value(), true);
    EXPECT_EQ(bag.ReadColour("ForeColor", 0x123456).value(), 0x123456u);
    EXPECT_EQ(bag.ReadString("Tag", "x").value(), "x");
}

TEST(PropertyBag, ReadsBackEveryTypeItWrites) {
    PropertyBag bag;
    const Font verdana{"Verdana", 9.75, true, false, true, false};
    bag.WriteInt16("a", -32768, 0);
    bag.WriteInt32("b", 2147483647, 0);
    bag.WriteBool("c", false, true);
    bag.WriteString("d", "say \"hi\"\r\n\tback\\slash", "");
    bag.WriteColour("e", 0x00FF0000, 0);
    bag.WriteFont("f", verdana, Font{});
    EXPECT_EQ(bag.ReadInt16("a", 0).value(), -32768);
    EXPECT_EQ(bag.ReadInt32("b", 0).value(), 2147483647);
    EXPECT_EQ(bag.ReadBool("c", true).value(), false);
    EXPECT_EQ(bag.ReadString("d", "").value(), "say \"hi\"\r\n\tback\\slash");
    EXPECT_EQ(bag.ReadColour("e", 0).value(), 0x00FF0000u);
    EXPECT_EQ(bag.ReadFont("f", Font{}).value(), verdana);
    EXPECT_EQ(bag.Text("e").value(), "&H00FF0000&");
}

// A read that cannot convert fails alone: the caller skips that step and reads the next.
TEST(PropertyBag, ReportsAFailedConversionAsNothing) {
    PropertyBag bag;
    bag.SetText("count", "40000");
    bag.SetText("style", "\"abc\"");
    bag.SetText("big", "99999999999");
    bag.SetText("enabled", "maybe");
    bag.SetText("font", "font(\"Verdana\")");
    bag.SetText("colour", "\"red\"");
    bag.SetText("icon", "picture(3)");
    bag.SetText("text", "font(\"Verdana\", 9)");
    EXPECT_FALSE(bag.ReadInt16("Count", 0)); // overflows 16 bits
    EXPECT_EQ(bag.ReadInt32("Count", 0).value(), 40000);
    EXPECT_FALSE(bag.ReadInt32("Style", 0)); // wrong type
    EXPECT_FALSE(bag.ReadInt32("Big", 0));   // overflows 32 bits
    EXPECT_FALSE(bag.ReadBool("Enabled", true));
    EXPECT_FALSE(bag.ReadFont("Font", Font{})); // no size
    EXPECT_FALSE(bag.ReadColour("Colour", 0));
    EXPECT_FALSE(bag.ReadPicture("Icon", Picture()));
    EXPECT_FALSE(bag.ReadString("Text", ""));
}

TEST(PropertyBag, ReadsNumbersInTheFormsADesignHolds) {
    PropertyBag bag;
    bag.SetText("hex", "&H7FFF");
    bag.SetText("colour", "&H80000012&");
    bag.SetText("quoted", "\"12\"");
    bag.SetText("flag", "-1");
    EXPECT_EQ(bag.ReadInt16("hex", 0).value(), 0x7FFF);
    EXPECT_EQ(bag.ReadColour("colour", 0).value(), 0x80000012u);
    EXPECT_EQ(bag.ReadInt32("quoted", 0).value(), 12);
    EXPECT_EQ(bag.ReadBool("flag", false).value(), true);
    EXPECT_EQ(bag.ReadString("flag", "").value(), "-1");
}
