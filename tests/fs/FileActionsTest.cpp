#include "TempFolder.h"
#include "fs/FileSystem.h"

#include <gtest/gtest.h>

#include <winioctl.h>

using namespace cw;

TEST(PathRules, FollowTheShellsPathFunctionsAtTheirEdges) {
    const FileSystem fs;
    EXPECT_EQ(fs.AddFolderBackslash("C:\\Users\\x\\Desktop"), "C:\\Users\\x\\Desktop\\");
    EXPECT_EQ(fs.AddFolderBackslash("C:\\"), "C:\\");
    EXPECT_EQ(fs.AddFolderBackslash(""), "");
    EXPECT_EQ(fs.AddFolderBackslash(std::string(300, 'a')).substr(0, 300), std::string(300, 'a'));
    EXPECT_EQ(fs.RemoveFolderBackslash("C:\\Temp\\"), "C:\\Temp");
    EXPECT_EQ(fs.RemoveFolderBackslash("C:\\"), "C:\\");
    EXPECT_EQ(fs.ExtractFileTitle("C:\\Users\\x\\Desktop\\Mail"), "Mail");
    EXPECT_EQ(fs.ExtractFolderTitle("C:\\a\\"), "a\\");
    EXPECT_EQ(fs.ExtractFileExtension("C:\\a.b\\c"), "");
    EXPECT_EQ(fs.RemoveFileExtension("C:\\a\\b.tar.gz"), "C:\\a\\b.tar");
    EXPECT_EQ(fs.AddFileExtension("C:\\a\\b.txt", ".lnk"), "C:\\a\\b.txt");
    EXPECT_EQ(fs.AddFileExtension("C:\\a\\b", ".lnk"), "C:\\a\\b.lnk");
    EXPECT_TRUE(fs.IsFileExtension("C:\\a\\b.LNK", "lnk"));
    EXPECT_EQ(fs.AddFileQuotes("C:\\Program Files\\x"), "\"C:\\Program Files\\x\"");
    EXPECT_EQ(fs.RemoveFolderQuotes("\"C:\\Program Files\\x\""), "C:\\Program Files\\x");
    EXPECT_EQ(fs.ExtractDrive("\\\\server\\share\\x"), "\\\\server\\share");
    EXPECT_EQ(fs.ExtractFolder("C:\\a"), "C:\\");
}

TEST(PathRules, ExpandFolderReplacesDefinedVariablesOnly) {
    const FileSystem fs;
    EXPECT_EQ(fs.ExpandFolder("%NOSUCHVARIABLE%\\x"), "%NOSUCHVARIABLE%\\x");
    EXPECT_EQ(fs.ExpandFolder(""), "");
    // Longer than the platform's path limit: whole, not cut short.
    SetEnvironmentVariableA("CWTEST_FOLDER", std::string(300, 'x').c_str());
    EXPECT_EQ(fs.ExpandFolder("%CWTEST_FOLDER%\\y"), std::string(300, 'x') + "\\y");
    SetEnvironmentVariableA("CWTEST_FOLDER", nullptr);
}

TEST(FileActions, CopyOverwritesRenameDoesNotRemoveClearsAttributesWhenAsked) {
    const cwtest::TempFolder temp;
    const FileSystem fs;
    const std::string a = temp.MakeFile("a.txt", "new"), b = temp.MakeFile("b.txt", "older");
    EXPECT_TRUE(fs.CopyFile(a, b));
    EXPECT_EQ(fs.GetFileSize(b), 3);
    EXPECT_FALSE(fs.RenameFile(a, b));
    EXPECT_TRUE(fs.RenameFile(a, temp / "c.txt"));

    fs.SetFileAttributes(b, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(fs.RemoveFile(b));
    EXPECT_EQ(fs.GetFileAttributes(b) & 0x7, 0x3); // Wine adds the archive bit
    EXPECT_TRUE(fs.RemoveFile(b, true));
    EXPECT_EQ(fs.GetFileAttributes(b), -1);
}

TEST(FileActions, SearchLooksInTheStartFolderOnly) {
    const cwtest::TempFolder temp;
    const FileSystem fs;
    EXPECT_TRUE(fs.CreateFolder(temp / "x"));
    temp.MakeFile("x\\inner.txt");
    EXPECT_EQ(fs.SearchFile(temp.Path(), "inner.txt"), "");
    EXPECT_EQ(fs.SearchFile(temp / "x", "inner.txt"), temp / "x\\inner.txt");
    EXPECT_EQ(fs.SearchFolder(temp.Path(), "x"), temp / "x");
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
