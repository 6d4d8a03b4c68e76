#include "TempFolder.h"
#include "fs/FileSystem.h"
#include "fs/FolderListing.h"
#include "UnixPath.h"
#include "win32/Errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace cw;
using ::testing::UnorderedElementsAre;

namespace {

// Full paths of the files in the order the platform's search delivers them.
std::vector<std::string> SearchOrder(const std::string& folder) {
    std::vector<std::string> paths;
    for (const FolderEntry& entry : ListFolder(folder))
        if (!entry.info.IsFolder())
            paths.push_back(folder + "\\" + entry.name);
    return paths;
}

class Enumeration : public ::testing::Test {
protected:
    cwtest::TempFolder temp;
    FileSystem fs;
    int16_t count = 9;
    std::vector<std::string> list{"stale"};
};

} // namespace

TEST_F(Enumeration, ListsFullPathsInTheOrderFoundLeavingOutWhatIsExcluded) {
    temp.MakeFile("a.lnk");
    temp.MakeFile("b.txt");
    SetFileAttributesA(temp.MakeFile("Hidden.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    temp.MakeFolder(".config");
    temp.MakeFolder("x.y");
    temp.MakeFile("x.y\\inner.lnk");
    // With or without its final backslash, the folder is joined to each name by exactly one.
    for (const std::string& start : {temp.Path(), temp.Path() + "\\"}) {
        fs.EnumerateFiles(start, 0, count, list);
        EXPECT_EQ(count, 3);
        EXPECT_EQ(list, SearchOrder(temp.Path()));
    }
    fs.EnumerateFiles(temp.Path(), FILE_ATTRIBUTE_HIDDEN, count, list);
    EXPECT_THAT(list, UnorderedElementsAre(temp / "a.lnk", temp / "b.txt"));
    fs.EnumerateFiles(temp.Path(), 0, count, list, "*.lnk");
    EXPECT_THAT(list, UnorderedElementsAre(temp / "a.lnk", temp / "Hidden.lnk"));
    fs.EnumerateFolders(temp.Path(), 0, count, list); // names starting with a dot are left out
    EXPECT_EQ(list, std::vector{temp / "x.y"});
    fs.EnumerateFiles(temp / "missing", 0, count, list);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());
}

// 32,768 files in one folder: the flat list overflows at the 32,768th entry, a recursive walk
// stops at 32,767.
TEST_F(Enumeration, CountsStopAt32767) {
    ASSERT_TRUE(cwtest::MakeNumberedFiles(temp.Path(), 32768, ""));
    EXPECT_THROW(fs.EnumerateFiles(temp.Path(), 0, count, list), OverflowError);
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(list.size(), 32767u);
    count = 1; // the walk appends to an entry it is given, up to the limit
    list = {"given"};
    fs.EnumerateRecursiveFiles(temp.Path(), 0, count, list);
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(list.size(), 32767u);
    EXPECT_EQ(list.front(), "given");
}
