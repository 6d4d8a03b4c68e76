// The designer's saving and refusals on a user's own design file: a save changes the lines of
// what was edited and nothing else, and a refusal never quotes more of the file than a box shows.
#include "TempFolder.h"
#include "tools/designer/DesignDocument.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cwtest;

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
