#include "TempFolder.h"
#include "fs/FileSystem.h"
#include "win32/Errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace cw;
using ::testing::UnorderedElementsAre;

namespace {

// Entry names (files or folders) in the order the platform's own search delivers them.
std::vector<std::string> PlatformOrder(const std::string& folder, bool folders) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != ".." &&
            ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders)
            names.push_back(name);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

class Enumeration : public ::testing::Test {
  protected:
    void SetUp() override {
        temp.MakeFile("a.lnk");
        temp.MakeFile("b.txt");
        SetFileAttributesA(temp.MakeFile("Hidden.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
        temp.MakeFolder(".config");
        temp.MakeFolder("x.y");
        temp.MakeFile("x.y\\inner.lnk");
    }
    cwtest::TempFolder temp;
    FileSystem fs;
    int16_t count = 9;
    std::vector<std::string> list{"stale"};
};

} // namespace

TEST_F(Enumeration, FilesAreFullPathsInTheOrderFound) {
    std::vector<std::string> expected;
    for (const std::string& name : PlatformOrder(temp.Path(), false))
        expected.push_back(temp / name);
    ASSERT_EQ(expected.size(), 3u);
    // With or without its final backslash, the folder is joined to each name by exactly one.
    for (const std::string& start : {temp.Path(), temp.Path() + "\\"}) {
        fs.EnumerateFiles(start, 0, count, list);
        EXPECT_EQ(count, 3);
        EXPECT_EQ(list, expected);
    }
}

TEST_F(Enumeration, ExcludedAttributesPatternsAndMissingFolders) {
    fs.EnumerateFiles(temp.Path(), FILE_ATTRIBUTE_HIDDEN, count, list);
    EXPECT_THAT(list, UnorderedElementsAre(temp / "a.lnk", temp / "b.txt"));
    fs.EnumerateFiles(temp.Path(), 0, count, list, "*.lnk");
    EXPECT_THAT(list, UnorderedElementsAre(temp / "a.lnk", temp / "Hidden.lnk"));
    EXPECT_EQ(count, 2);
    fs.EnumerateFiles(temp / "missing", 0, count, list);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());
}

TEST_F(Enumeration, FoldersLeaveOutNamesStartingWithADot) {
    fs.EnumerateFolders(temp.Path() + "\\", 0, count, list);
    EXPECT_THAT(list, UnorderedElementsAre(temp / "x.y"));
    EXPECT_EQ(count, 1);
}

TEST_F(Enumeration, RecursiveWalksGoDepthFirstAndAppend) {
    for (const std::string folder : {"A", "A\\B", "A\\B\\E", "A\\D"}) {
        temp.MakeFolder(folder);
        temp.MakeFile(folder + "\\f");
    }
    const std::string a = temp / "A";
    count = 0;
    list.clear();
    fs.EnumerateRecursiveFolders(a, 0, count, list);
    const bool bFirst = PlatformOrder(a, true).front() == "B";
    const std::string b = a + "\\B", e = b + "\\E", d = a + "\\D";
    EXPECT_EQ(list, (bFirst ? std::vector{b, e, d} : std::vector{d, b, e}));
    EXPECT_EQ(count, 3);

    count = 0;
    list.clear();
    const std::vector<std::string> once =
        bFirst ? std::vector{e + "\\f", b + "\\f", d + "\\f", a + "\\f"}
               : std::vector{d + "\\f", e + "\\f", b + "\\f", a + "\\f"};
    fs.EnumerateRecursiveFiles(a, 0, count, list);
    EXPECT_EQ(list, once);
    fs.EnumerateRecursiveFiles(a + "\\", 0, count, list);
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(list, twice);
    EXPECT_EQ(count, 8);
}

// One folder with 32,768 files, made once for the suite.
class CountLimit : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<cwtest::TempFolder>();
        const std::string path = CreationPath(folder->Path());
        for (int i = 0; i < 32768; ++i) {
            const HANDLE file = CreateFileA((path + "\\" + std::to_string(i)).c_str(),
                                            GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            CloseHandle(file);
        }
    }
    static void TearDownTestSuite() { folder.reset(); }

    // Wine looks for every new name through the whole folder (for the same name in other
    // letter cases), which makes filling one folder quadratic; its \\?\unix paths skip that.
    static std::string CreationPath(const std::string& dosPath) {
        using UnixName = char*(__cdecl*)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, dosPath.c_str(), -1, wide, MAX_PATH);
        char* found = unixName ? unixName(wide) : nullptr;
        if (!found)
            return dosPath;
        std::string path = "\\\\?\\unix";
        for (const char* c = found; *c; ++c)
            path += *c == '/' ? '\\' : *c;
        HeapFree(GetProcessHeap(), 0, found);
        return path;
    }

    static inline std::unique_ptr<cwtest::TempFolder> folder;
    FileSystem fs;
    int16_t count = 0;
    std::vector<std::string> list;
};

TEST_F(CountLimit, EnumerateFilesOverflowsAtThe32768thEntry) {
    EXPECT_THROW(fs.EnumerateFiles(folder->Path(), 0, count, list), OverflowError);
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(list.size(), 32767u);
}

TEST_F(CountLimit, RecursiveWalkStopsCountingAt32767) {
    fs.EnumerateRecursiveFiles(folder->Path(), 0, count, list);
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(list.size(), 32767u);
}
