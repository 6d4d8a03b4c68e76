// The designer's saving and refusals on a user's own design file: a save changes the lines of
// what was edited and nothing else, and a refusal never quotes more of the file than a box shows.
#include "FileStamps.h"
#include "TempFolder.h"
#include "controls/Components.h"
#include "controls/statusbar/StatusBar.h"
#include "tools/designer/DesignDocument.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace cw;
using namespace cwtest;

namespace {

constexpr const char* kDesign = R"(# A window of the user's
begin Form FormSaved
    # the caption, as the user spelled its key
    Caption = "Saved"

    clientwidth = 4000
    futurekey = 12
    begin StatusBar StatusBarSaved
        align = 2
        begin bag
            count = 2
            paneltext(1) = "One"
            # a key of a later version
            panelglow(1) = True
        end
    end
    begin Gadget GadgetSaved
        # a kind this designer does not know
        size = 3
    end
end
)";

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string WithCrlf(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.insert(at, "\r");
    return text;
}

} // namespace

// Unchanged, the file keeps its bytes and its time; edited, only the edited keys' lines change
// (rewritten in place, added, removed), with the file's own line ends.
TEST(DesignSave, KeepsTheFilesLinesAndLeavesAnUnchangedFileAlone) {
    RegisterComponents();
    const TempFolder folder;
    for (const bool crlf : {false, true}) {
        const std::string original = crlf ? WithCrlf(kDesign) : kDesign;
        const std::string path = folder.MakeFile("Saved.design", original);
        const long long stamp = LocalSecondsNow() - 86400;
        SetLocalStamp(path, stamp);
        DesignDocument document;
        ASSERT_TRUE(document.Open(path)) << document.Error();
        ASSERT_TRUE(document.Save()) << document.Error();
        EXPECT_EQ(ReadFileText(path), original);
        EXPECT_EQ(StampsOf(path).written, stamp);

        auto* bar = dynamic_cast<StatusBar*>(document.FindComponent("StatusBarSaved"));
        ASSERT_TRUE(bar && bar->Panel(1));
        bar->Panel(1)->SetText("Two");
        bar->Panel(0)->SetText("Zero");
        ASSERT_TRUE(document.Modified());
        ASSERT_TRUE(document.Save()) << document.Error();
        const std::string eol = crlf ? "\r\n" : "\n";
        const std::string expected =
            Replace(Replace(original, "\"One\"", "\"Two\""), "panelglow(1) = True" + eol,
                    "panelglow(1) = True" + eol + "            paneltext(0) = \"Zero\"" + eol);
        EXPECT_EQ(ReadFileText(path), expected);

        bar->Panel(1)->SetText(""); // back to its default: the key goes
        ASSERT_TRUE(document.Save()) << document.Error();
        EXPECT_EQ(ReadFileText(path),
                  Replace(expected, "            paneltext(1) = \"Two\"" + eol, ""));
    }
}

// A 10 MB line whose key holds blanks, and a name of 255 characters given twice.
TEST(DesignSave, RefusalsQuoteAtMostEightyCharactersOfTheFile) {
    const TempFolder folder;
    const std::string key = "k " + std::string(10 * 1024 * 1024, 'x');
    const std::string name(255, 'N');
    const struct {
        std::string text, error;
    } cases[] = {
        {key + " = 1\n", "line 1: '" + key.substr(0, 80) + "...' is not a key"},
        {"begin Form F\nbegin Frame " + name + "\nend\nbegin Frame " + name + "\nend\nend\n",
         "line 4: a second control named " + name.substr(0, 80) + "..."},
    };
    for (const auto& c : cases) {
        const std::string path = folder.MakeFile("Refused.design", c.text);
        DesignDocument document;
        EXPECT_FALSE(document.Open(path));
        const std::string& error = document.Error();
        EXPECT_EQ(error.size() < 1000 ? error : std::to_string(error.size()) + " characters",
                  path + ", " + c.error);
    }
}
