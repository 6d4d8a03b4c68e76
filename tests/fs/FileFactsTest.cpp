#include "TempFolder.h"
#include "fs/DurableReplace.h"
#include "fs/FileActions.h"
#include "fs/FileSystem.h"
#include "fs/FolderListing.h"
#include "fs/OpenedFile.h"

#include <gtest/gtest.h>

#include <winioctl.h>

#include <tuple>

using namespace cw;

// The shell's path functions get a buffer of at least MAX_PATH with room for what they add, and
// texts longer than MAX_PATH come back whole.
TEST(PathRules, GiveWholeTextsAtTheEdges) {
    const FileSystem fs;
    const std::string longName(300, 'a');
    EXPECT_EQ(fs.AddFolderBackslash("C:\\Users\\x\\Desktop"), "C:\\Users\\x\\Desktop\\");
    EXPECT_EQ(fs.AddFolderBackslash(""), "");
    EXPECT_EQ(fs.AddFolderBackslash(longName).substr(0, 300), longName);
    EXPECT_EQ(fs.ExpandFolder("%NOSUCHVARIABLE%\\x"), "%NOSUCHVARIABLE%\\x");
    EXPECT_EQ(fs.ExpandFolder(""), "");
    SetEnvironmentVariableA("CWTEST_FOLDER", longName.c_str());
    EXPECT_EQ(fs.ExpandFolder("%CWTEST_FOLDER%\\y"), longName + "\\y");
    SetEnvironmentVariableA("CWTEST_FOLDER", nullptr);
}

TEST(FileFacts, KindsAndSizes) {
    const cwtest::TempFolder temp;
    const FileSystem fs;
    const std::string empty = temp.MakeFile("empty"), missing = temp / "missing";
    for (const auto& [path, file, folder] :
         {std::tuple{empty, true, false}, {temp.Path(), false, true}, {missing, false, false}}) {
        EXPECT_EQ(fs.IsFile(path), file) << path;
        EXPECT_EQ(fs.IsFolder(path), folder) << path;
    }
    EXPECT_EQ(fs.GetFileSize(empty), 0);
    EXPECT_EQ(fs.GetFileSize(missing), -1);

    // 4 GiB and 5 bytes (sparse): the low 32 bits alone would read as 5.
    const std::string big = temp / "big";
    const HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD unused = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = (1LL << 32) + 5;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_EQ(fs.GetFileSize(big), -1);
}

// A folder chain, a log appended to, times set and read through a handle and listed, all on paths
// past the old limit of 260 characters.
TEST(FileActions, WorkOnPathsPastTheOldLimit) {
    const cwtest::TempFolder temp;
    const std::string folder = temp / (std::string(150, 'a') + "\\" + std::string(150, 'b'));
    ASSERT_TRUE(MakeFolderChain(folder + "\\"));
    const std::string log = folder + "\\x.log";
    ASSERT_TRUE(AppendLine(log, "one"));
    ASSERT_TRUE(AppendLine(log, "two"));
    EXPECT_EQ(ReadWholeFile(log, 10), "one\r\ntwo\r\n");
    EXPECT_FALSE(ReadWholeFile(log, 9)); // larger than the caller takes
    // Wine on Linux cannot set a creation time and reports the write time in its place.
    const FileTimes times{133'000'000'000'000'007, 133'000'000'100'000'008,
                          133'000'000'000'000'007};
    ASSERT_TRUE(OpenedFile(log, OpenedFile::Access::Stamp).SetTimes(times));
    const std::vector<FolderEntry> listed = ListFolder(folder);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "x.log");
    EXPECT_EQ(listed[0].info.size, 10u);
    EXPECT_EQ(listed[0].info.times, times);
    EXPECT_EQ(OpenedFile(log, OpenedFile::Access::Read).Times(), times);
}

// Ended between writing the temporary file and renaming it (a crash, a failure), the old file
// stays whole and nothing is left beside it. (A rename refused: DesignerTest.)
TEST(DurableReplace, AnInterruptedReplaceLeavesTheOldFileWhole) {
    const cwtest::TempFolder temp;
    const std::string file = temp.MakeFile("journal.txt", "old text");
    {
        const PendingReplace pending(file, "new text");
        EXPECT_EQ(ReadWholeFile(pending.TemporaryPath(), 99), "new text");
        EXPECT_EQ(ReadWholeFile(file, 99), "old text");
    }
    EXPECT_EQ(ReadWholeFile(file, 99), "old text");
    EXPECT_EQ(ListFolder(temp.Path()).size(), 1u);
    EXPECT_EQ(ReplaceDurably(file, "new text"), 0u);
    EXPECT_EQ(ReplaceDurably(file, "other", false),
              static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadWholeFile(file, 99), "new text");
    EXPECT_EQ(ListFolder(temp.Path()).size(), 1u);
}
