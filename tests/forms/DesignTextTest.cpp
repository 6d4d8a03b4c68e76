#include "forms/DesignText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cw;
using namespace std::string_literals;

namespace {

// The form tests' design (FormSample.design), as this program's resources hold it.
std::string SampleText() {
    const HRSRC found = FindResourceA(nullptr, "FormSample", MAKEINTRESOURCEA(10));
    return {static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
            SizeofResource(nullptr, found)};
}

} // namespace

TEST(DesignText, ReadsNestedControlsAndComponentBagsAndWritesWhatReadsBackTheSame) {
    const DesignReadResult read = ReadDesign(SampleText());
    ASSERT_TRUE(read.design) << DescribeDesignError(read.error);
    const DesignNode& form = *read.design;
    EXPECT_EQ(form.properties.ReadString("Caption", "").value(), "Test window");
    ASSERT_EQ(form.children.size(), 7u);
    const DesignNode& strip = form.children[0];
    EXPECT_EQ(strip.bag.ReadString("Text", "").value(), "top");
    EXPECT_EQ(strip.properties.ReadInt32("align", 0).value(), 1);
    EXPECT_EQ(strip.line, 13);
    EXPECT_EQ(form.children[2].children.at(1).name, "ListItems");
    // An entry without a bag is a new component, unlike one with an empty bag.
    EXPECT_TRUE(form.children[1].hasBag);
    EXPECT_TRUE(form.children[1].bag.Empty());
    EXPECT_FALSE(form.children[6].hasBag);

    const std::string written = WriteDesign(form);
    const DesignReadResult again = ReadDesign(written);
    ASSERT_TRUE(again.design) << DescribeDesignError(again.error) << "\n" << written;
    EXPECT_EQ(*again.design, form);
    EXPECT_EQ(WriteDesign(*again.design), written);
}

// Lenient about layout; the reader checks the structure only, and a value that does not convert
// is kept as text and skipped when read.
TEST(DesignText, AcceptsWindowsLineEndsAByteOrderMarkTabsEmptyAndUnconvertibleValues) {
    const DesignReadResult read = ReadDesign("\xEF\xBB\xBF"
                                             "begin Form F\r\n\tCaption\t=\t\"x\"\r\r\n\r\n\tTag "
                                             "=\r\n# done\r\nleft = twelve\r\nend\r\n");
    ASSERT_TRUE(read.design) << DescribeDesignError(read.error);
    EXPECT_EQ(read.design->properties.Text("caption").value(), "\"x\"");
    EXPECT_EQ(read.design->properties.Text("tag").value(), "");
    EXPECT_FALSE(read.design->properties.ReadInt32("left", 0));
    EXPECT_EQ(read.design->properties.Text("left").value(), "twelve");
}

TEST(DesignText, NamesTheLineOfEachStructuralFault) {
    struct Case {
        const char* text;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"", 0, "no 'begin Form"},
        {"begin Form F\nend\nend\n", 3, "'end' without 'begin'"},
        {"begin Form F\n  begin Frame A\nend\n", 1, "'begin Form F' has no 'end'"},
        {"begin Form F\nbegin bag\nend\nend\n", 2, "belongs to a control"},
        {"begin Form F\nbegin X A\nbegin bag\nbegin Y B\n", 4, "inside a bag"},
        {"begin Form F\nbegin Label A\nend\nbegin Label a\n", 4, "a second control named a"},
        {"begin Form F\nbegin Label 1A\n", 2, "letters, digits"},
        {"begin Form F\ncaption \"x\"\n", 2, "expected 'key = value'"},
        {"caption = 1\nbegin Form F\nend\n", 1, "outside"},
        {"begin Form F\nend\nbegin Form G\nend\n", 3, "one window only"},
    };
    for (const Case& c : cases) {
        const DesignReadResult read = ReadDesign(c.text);
        EXPECT_FALSE(read.design) << c.text;
        EXPECT_EQ(read.error.line, c.line) << c.text;
        EXPECT_NE(read.error.message.find(c.says), std::string::npos) << read.error.message;
    }
}

// Frames in frames as deep as a window needs; deeper is refused, so no design exhausts the stack.
TEST(DesignText, LimitsHowDeepControlsNest) {
    for (const int depth : {kMaxDesignDepth, kMaxDesignDepth + 1}) {
        std::string text = "begin Form F\n";
        for (int i = 0; i < depth; ++i)
            text += "begin Frame F" + std::to_string(i) + "\n";
        for (int i = 0; i <= depth; ++i)
            text += "end\n";
        const DesignReadResult read = ReadDesign(text);
        EXPECT_EQ(read.design.has_value(), depth == kMaxDesignDepth);
        EXPECT_EQ(DescribeDesignError(read.error),
                  read.design ? ""
                              : "line " + std::to_string(depth + 1) + ": controls nest too deep");
    }
}
