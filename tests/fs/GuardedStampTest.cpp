// The guarded stamp, on a folder standing in for the desktop of all users, and the files the
// elevated step reads and writes.
#include "FileStamps.h"
#include "TempFolder.h"
#include "UnixPath.h"
#include "fs/GuardedFile.h"
#include "fs/GuardedStamp.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <vector>

using namespace cw;
using namespace cwtest;

namespace {

constexpr StampTimes kTimes{132'000'000'000'000'000, 132'000'000'010'000'000,
                            132'000'000'020'000'000};

bool IsWine() {
    return !UnixPathOf("C:\\").empty();
}

std::string Leaf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

} // namespace

TEST(GuardedStamp, RefusesEveryFileItMayNotWriteEachForItsReasonAndChangesNothing) {
    const TempFolder desk, away;
    for (const char* name :
         {"Mail.lnk", "Web.url", "Old.PIF", "日本語.lnk", "Notes.txt", "x.lnkfoo", "Pair.lnk"})
        desk.MakeFile(name, "data");
    desk.MakeFolder("Dir.lnk");
    desk.MakeFolder("sub");
    desk.MakeFile("sub\\Inner.lnk");
    const std::string awayFile = away.MakeFile("Away.lnk", "data");
    ASSERT_TRUE(CreateHardLinkA((desk / "Twin.lnk").c_str(), (desk / "Pair.lnk").c_str(), nullptr));
    ASSERT_TRUE(MakeSymbolicLink(desk / "Near.lnk", "Mail.lnk"));
    ASSERT_TRUE(MakeSymbolicLink(desk / "Far.lnk", awayFile));
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA((desk / "x.lnkfoo").c_str(), shortPath, MAX_PATH);
    const std::string shortName = Leaf(shortPath); // "X~1.LNK", where the volume makes such names
    const auto before = FolderTimes(desk.Path());
    const auto awayBefore = FolderTimes(away.Path());

    // Windows sees a link as a reparse point; Wine opens its target, whose final path shows where
    // it is. "\xC3" is no UTF-8; 256 characters are one more than a name may hold.
    using R = StampReason;
    const std::pair<R, std::vector<std::string>> refused[] = {
        {R::Outside,
         {"..\\" + Leaf(away.Path()) + "\\Away.lnk", "sub\\Inner.lnk", "sub/Inner.lnk",
          desk / "Mail.lnk", "Mail.lnk:hidden", ".."}},
        {R::NotPlainName,
         {"Mail.lnk.", "Mail.lnk ", "", "M*.lnk", "Tab\t.lnk", "\xC3.lnk",
          std::string(252, 'a') + ".lnk"}},
        {R::DeviceName, {"CON.lnk", "com1.url", "Nul .pif"}},
        {R::NotShortcut, {"Notes.txt", "x.lnkfoo"}},
        {R::Missing, {"Missing.lnk"}},
        {R::Folder, {"Dir.lnk"}},
        {R::MoreThanOneLink, {"Twin.lnk", "Pair.lnk"}},
        {IsWine() ? R::Outside : R::ReparsePoint, {"Far.lnk"}},
        {IsWine() ? R::OtherName : R::ReparsePoint, {"Near.lnk"}},
        {shortName == "x.lnkfoo" ? R::NotShortcut : R::OtherName, {shortName}}};
    const GuardedStamp stamp(desk.Path());
    for (const auto& [reason, names] : refused)
        for (const std::string& name : names)
            EXPECT_STREQ(Describe(stamp.Stamp(name, kTimes)), Describe(reason)) << name;
    EXPECT_EQ(stamp.Stamp("Mail.lnk", {0, 1, 1}), StampReason::NotPlanned);
    EXPECT_EQ(stamp.Stamp("Mail.lnk", kTimes, [](std::uint64_t) { return false; }),
              StampReason::ChangedSince);
    EXPECT_EQ(GuardedStamp(desk / "Mail.lnk").Stamp("Web.url", kTimes), StampReason::NoFolder);
    EXPECT_EQ(GuardedStamp(desk / "Gone").Stamp("Web.url", kTimes), StampReason::NoFolder);
    EXPECT_EQ(FolderTimes(desk.Path()), before);
    EXPECT_EQ(FolderTimes(away.Path()), awayBefore);

    const ExactTimes exact{kTimes.created, kTimes.accessed, kTimes.written};
    for (const char* name : {"Mail.lnk", "Web.url", "Old.PIF", "日本語.lnk"}) {
        std::uint64_t seen = 0;
        EXPECT_EQ(stamp.Stamp(name, kTimes, [&](std::uint64_t w) { return seen = w, true; }),
                  StampReason::Stamped);
        EXPECT_EQ(seen, before.at(name).written) << name;
        // Wine cannot set a creation time on Linux: it reads back as the write time.
        const ExactTimes onWine{exact.written, exact.accessed, exact.written};
        EXPECT_EQ(ExactTimesOf(desk / name), IsWine() ? onWine : exact);
    }
}

TEST(GuardedStamp, ReachesPathsOfAnyLength) {
    const TempFolder temp;
    std::wstring folder = L"\\\\?\\" + std::wstring(temp.Path().begin(), temp.Path().end());
    for (int level = 0; level < 3; ++level)
        ASSERT_TRUE(CreateDirectoryW((folder += L"\\" + std::wstring(90, L'd')).c_str(), nullptr));
    const std::wstring file = folder + L"\\Long.lnk";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const std::string narrow(folder.begin() + 4, folder.end());
    EXPECT_EQ(GuardedStamp(narrow).Stamp("Long.lnk", kTimes), StampReason::Stamped);
    DeleteFileW(file.c_str());
    for (; folder.size() > temp.Path().size() + 4; folder.resize(folder.find_last_of(L'\\')))
        RemoveDirectoryW(folder.c_str());
}

TEST(GuardedFile, NeitherReadsNorWritesThroughWhatIsNoPlainFileOfItsOwn) {
    const TempFolder temp, away;
    EXPECT_EQ(GuardedFile::Read(temp.MakeFolder("dir"), 9).fault, ReadFault::NotAFile);
    // A link planted at the name and a folder reached through a link are never written through.
    const std::string target = away.MakeFile("target.txt", "theirs");
    ASSERT_TRUE(MakeSymbolicLink(temp / "planted.txt", target));
    ASSERT_TRUE(MakeSymbolicLink(temp / "linked", away.Path(), true));
    for (const std::string& path :
         {temp / "planted.txt", temp / "linked\\new.txt", temp / "no\\x.txt"})
        EXPECT_FALSE(GuardedFile(path)) << path;
    EXPECT_EQ(GuardedFile::Read(target, 9).text, "theirs");
    EXPECT_EQ(FolderTimes(away.Path()).count("new.txt"), 0u);
}
