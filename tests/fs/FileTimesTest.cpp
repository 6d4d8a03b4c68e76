#include "FileStamps.h"
#include "TempFolder.h"
#include "fs/FileSystem.h"
#include "win32/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cw;
using cwtest::ExactTimesOf;

namespace {

class FileTimes : public ::testing::Test {
protected:
    cwtest::TempFolder temp;
    FileSystem fs;
    const std::string file = temp.MakeFile("Mail.lnk", "data");
    const CalendarTime when{2026, 12, 5, 14, 3, 22};
};

} // namespace

TEST_F(FileTimes, StampsReadBackToTheSecondOnAllThreeTimes) {
    ASSERT_TRUE(fs.SetFileDateTime(file, MakeDateTime(when)));
    EXPECT_EQ(fs.GetFileDateTime(file), FormatDateTime(when));
    const auto times = ExactTimesOf(file);
    EXPECT_EQ(times.accessed, times.written);
    // Wine on Linux cannot set a creation time and reports the write time in its place, so
    // there this holds without showing that the creation time was written.
    EXPECT_EQ(times.created, times.written);
    const std::string folder = temp.MakeFolder("sub");
    ASSERT_TRUE(fs.SetFolderDateTime(folder, FormatDateTime(when)));
    EXPECT_EQ(fs.GetFolderDateTime(folder + "\\"), FormatDateTime(when));
}

// Each refusal leaves the file's times as they were.
TEST_F(FileTimes, RefusedStampsWriteNothing) {
    const auto before = ExactTimesOf(file);
    for (const DateTime value : {MakeDateTime({1500, 1, 1, 0, 0, 0}), std::nan(""), 1e300})
        EXPECT_FALSE(fs.SetFileDateTime(file, value)) << value;
    // Text that is not a date throws before the file is opened: opening first would have failed
    // quietly on a file that cannot be opened.
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_THROW(fs.SetFileDateTime(file, "next Tuesday"), TypeMismatchError);
    CloseHandle(held);
    EXPECT_THROW(fs.SetFolderDateTime(temp.Path(), ""), TypeMismatchError);
    // A file another program has open for writing is neither read nor stamped, even when that
    // program would share it: we share reading only.
    held = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(fs.GetFileDateTime(file), "");
    EXPECT_FALSE(fs.SetFileDateTime(file, MakeDateTime(when)));
    EXPECT_EQ(fs.GetFileSize(file), -1);
    CloseHandle(held);
    EXPECT_EQ(ExactTimesOf(file), before);
    EXPECT_FALSE(fs.SetFileDateTime(temp / "missing", MakeDateTime(when)));
}

TEST_F(FileTimes, AReadOnlyFileIsNotStamped) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    const HANDLE probe =
        CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "the platform opens read-only files for writing (Wine run as root)";
    }
    const auto before = ExactTimesOf(file);
    EXPECT_FALSE(fs.SetFileDateTime(file, MakeDateTime(when)));
    EXPECT_EQ(ExactTimesOf(file), before);
}
