#include "forms/DesignText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace cw;
using namespace std::string_literals;

namespace {

const char* const kSample = R"(# Main window
begin Form FormMain
    caption = "Main window"
    clientwidth = 10815
    begin SystemMenu SystemMenuMain
        begin bag
            count = 2
            systemmenuitemtext(1) = "&About..."
            _extentx = 741
        end
    end
    begin Frame FrameItems
        caption = "Items"
        begin ListBox ListItems
            left = 240
        end
    end
    begin StatusBar StatusBarMain
        align = 2
    end
end
)";

} // namespace

TEST(DesignText, ReadsNestedControlsAndComponentBags) {
    const DesignReadResult read = ReadDesign(kSample);
    ASSERT_TRUE(read.design) << DescribeDesignError(read.error);
    const DesignNode& form = *read.design;
    EXPECT_EQ(form.kind, "Form");
    EXPECT_EQ(form.name, "FormMain");
    EXPECT_EQ(form.properties.ReadString("Caption", "").value(), "Main window");
    ASSERT_EQ(form.children.size(), 3u);

    const DesignNode& menu = form.children[0];
    EXPECT_EQ(menu.kind, "SystemMenu");
    EXPECT_TRUE(menu.hasBag);
    EXPECT_TRUE(menu.properties.Empty());
    EXPECT_EQ(menu.bag.ReadInt16("Count", 0).value(), 2);
    EXPECT_EQ(menu.bag.ReadString("SystemMenuItemText(1)", "").value(), "&About...");
    EXPECT_EQ(menu.line, 5);

    const DesignNode& frame = form.children[1];
    ASSERT_EQ(frame.children.size(), 1u);
    EXPECT_EQ(frame.children[0].name, "ListItems");
    EXPECT_EQ(frame.children[0].properties.ReadInt32("left", 0).value(), 240);
    // A component entry without a bag is a new component, unlike one with an empty bag.
    EXPECT_FALSE(form.children[2].hasBag);
}

TEST(DesignText, WritesWhatItReadsAndReadsWhatItWrites) {
    const DesignReadResult read = ReadDesign(kSample);
    ASSERT_TRUE(read.design);
    const std::string written = WriteDesign(*read.design);
    const DesignReadResult again = ReadDesign(written);
    ASSERT_TRUE(again.design) << DescribeDesignError(again.error) << "\n" << written;
    EXPECT_EQ(*again.design, *read.design);
    EXPECT_EQ(WriteDesign(*again.design), written);
    EXPECT_NE(written.find("    begin Frame FrameItems\n        caption = \"Items\"\n"),
              std::string::npos);
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
        {"begin Form F\nbegin X A\nbegin bag\nend\nbegin bag\n", 5, "has a bag already"},
        {"begin Form F\nbegin X A\nbegin bag\n", 3, "'begin bag' of A has no 'end'"},
        {"begin Form F\nbegin Label A\nend\nbegin Label a\n", 4, "a second control named a"},
        {"begin Form F\nbegin Label 1A\n", 2, "letters, digits"},
        {"begin Form F\nbegin Label\n", 2, "expected 'begin <Kind> <Name>'"},
        {"begin Form F\ncaption \"x\"\n", 2, "expected 'key = value'"},
        {"begin Form F\n = 3\n", 2, "is not a key"},
        {"begin Form F\nmy key = 3\n", 2, "is not a key"},
        {"caption = 1\nbegin Form F\nend\n", 1, "outside"},
        {"begin Label A\nend\n", 1, "must begin with 'begin Form"},
        {"begin Form F\nend\nbegin Form G\nend\n", 3, "one window only"},
        {"begin Form F\nbegin Form G\n", 2, "cannot be placed"},
        {"begin Form F\nend x\n", 2, "stands alone"},
    };
    for (const Case& c : cases) {
        const DesignReadResult read = ReadDesign(c.text);
        EXPECT_FALSE(read.design) << c.text;
        EXPECT_EQ(read.error.line, c.line) << c.text;
        EXPECT_NE(read.error.message.find(c.says), std::string::npos) << read.error.message;
    }
    EXPECT_EQ(DescribeDesignError({3, "'end' without 'begin'"}), "line 3: 'end' without 'begin'");
}

TEST(DesignText, LimitsHowDeepControlsNest) {
    std::string text = "begin Form F\n";
    for (int i = 0; i <= kMaxDesignDepth; ++i)
        text += "begin Frame F" + std::to_string(i) + "\n";
    const DesignReadResult read = ReadDesign(text);
    ASSERT_FALSE(read.design);
    EXPECT_EQ(read.error.line, kMaxDesignDepth + 2);
}

// Thousands of damaged designs: the reader never crashes, a fault names a line of the text, and
// whatever it accepts writes back to a text that reads back to the same design.
TEST(DesignText, SurvivesRandomlyDamagedDesigns) {
    std::mt19937 random(20260);
    const std::string base = kSample;
    // clang-format off
    const std::string pieces[] = {"begin ", "end", "bag", " = ", "\n", "\r", "\"", "\\", "#", "Form ",
        "Frame X", "(", ")", "&H", "\t", "\0"s, "\xEF\xBB\xBF", "\xC3\xA9", "font(\"A\", 8)",
        "picture(\"res:1\")"};
    // clang-format on
    const auto pick = [&](size_t n) {
        return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    // Overwrite a byte, insert a piece, erase a run, copy a run elsewhere, cut the text short.
    const std::function<void(std::string&, size_t)> damage[] = {
        [&](std::string& t, size_t at) { t[at] = static_cast<char>(pick(256)); },
        [&](std::string& t, size_t at) { t.insert(at, pieces[pick(std::size(pieces))]); },
        [&](std::string& t, size_t at) { t.erase(at, 1 + pick(12)); },
        [&](std::string& t, size_t at) { t.insert(at, t.substr(pick(t.size()), pick(40))); },
        [&](std::string& t, size_t at) { t.resize(at); }};
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text = base;
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = pick(text.size());
            damage[pick(5)](text, at);
        }
        const DesignReadResult read = ReadDesign(text);
        if (!read.design) {
            EXPECT_GE(read.error.line, 0);
            EXPECT_LE(read.error.line, 1 + std::count(text.begin(), text.end(), '\n')) << text;
            EXPECT_FALSE(read.error.message.empty());
            continue;
        }
        ++accepted;
        const DesignReadResult again = ReadDesign(WriteDesign(*read.design));
        ASSERT_TRUE(again.design) << DescribeDesignError(again.error) << "\n" << text;
        ASSERT_EQ(*again.design, *read.design) << text;
        for (const auto& e : read.design->properties.Entries()) {
            (void)read.design->properties.ReadInt16(e.key, 0);
            (void)read.design->properties.ReadBool(e.key, false);
            (void)read.design->properties.ReadString(e.key, "");
            (void)read.design->properties.ReadColour(e.key, 0);
            (void)read.design->properties.ReadFont(e.key, Font{});
        }
    }
    // The damage must leave enough designs whole for the round trip to be tested at all.
    EXPECT_GT(accepted, 1000);
}
