#include "TempFolder.h"
#include "fs/FileSystem.h"

#include <gtest/gtest.h>

#include <winioctl.h>

using namespace cw;

// The shell's path functions get a buffer of at least MAX_PATH with room for what they add, and
// texts longer than MAX_PATH come back whole.
TEST(PathRules, GiveWholeTextsAtTheEdges) {
    const FileSystem fs;
    const std::string longName(300, 'a');
    EXPECT_EQ(fs.AddFolderBackslash("C:\\Users\\x\\Desktop"), "C:\\Users\\x\\Desktop\\");
    EXPECT_EQ(fs.AddFolderBackslash(""), "");
    EXPECT_EQ(fs.AddFolderBackslash(longName).substr(0, 300), longName);
    EXPECT_EQ(fs.AddFileExtension("C:\\a\\b.txt", ".lnk"), "C:\\a\\b.txt");
    EXPECT_EQ(fs.AddFileExtension("C:\\a\\b", ".lnk"), "C:\\a\\b.lnk");
    EXPECT_TRUE(fs.IsFileExtension("C:\\a\\b.LNK", "lnk"));
    EXPECT_EQ(fs.AddFileQuotes("C:\\Program Files\\x"), "\"C:\\Program Files\\x\"");
    EXPECT_EQ(fs.ExpandFolder("%NOSUCHVARIABLE%\\x"), "%NOSUCHVARIABLE%\\x");
    EXPECT_EQ(fs.ExpandFolder(""), "");
    SetEnvironmentVariableA("CWTEST_FOLDER", longName.c_str());
    EXPECT_EQ(fs.ExpandFolder("%CWTEST_FOLDER%\\y"), longName + "\\y");
    SetEnvironmentVariableA("CWTEST_FOLDER", nullptr);
}

TEST(FileActions, CopyOverwritesRenameDoesNotAndRemoveClearsAttributesOnlyWhenAsked) {
    const cwtest::TempFolder temp;
    const FileSystem fs;
    const std::string a = temp.MakeFile("a.txt", "new"), b = temp.MakeFile("b.txt", "older");
    EXPECT_TRUE(fs.CopyFile(a, b));
    EXPECT_EQ(fs.GetFileSize(b), 3);
    EXPECT_FALSE(fs.RenameFile(a, b));
    fs.SetFileAttributes(b, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(fs.RemoveFile(b));
    EXPECT_EQ(fs.GetFileAttributes(b) & 0x7, 0x3); // Wine adds the archive bit
    EXPECT_TRUE(fs.RemoveFile(b, true));
    EXPECT_EQ(fs.GetFileAttributes(b), -1);
    EXPECT_EQ(fs.SearchFile(temp.Path(), "a.txt"), a);
    EXPECT_EQ(fs.SearchFile(temp.Path(), "b.txt"), "");
}

TEST(FileFacts, KindsAndSizes) {
    const cwtest::TempFolder temp;
    const FileSystem fs;
    const std::string empty = temp.MakeFile("empty"), missing = temp / "missing";
    EXPECT_TRUE(fs.IsFile(empty) && fs.IsFolder(temp.Path()));
    EXPECT_FALSE(fs.IsFolder(empty) || fs.IsFile(temp.Path()));
    EXPECT_FALSE(fs.IsFile(missing) || fs.IsFolder(missing));
    EXPECT_EQ(fs.GetFileSize(empty), 0);
    EXPECT_EQ(fs.GetFileSize(missing), -1);

    // 4 GiB and 5 bytes (sparse): the low 32 bits alone would read as 5.
    const std::string big = temp / "big";
    const HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD unused = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = (1LL << 32) + 5;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_EQ(fs.GetFileSize(big), -1);
}
