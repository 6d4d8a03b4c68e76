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
