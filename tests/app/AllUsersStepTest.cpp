// The elevated step, its request and its outcome (both untrusted input), on a folder standing in
// for the desktop of all users; RefusedForReal runs as another user (all-users-refused.sh).
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/AllUsersStep.h"
#include "app/JournalText.h"
#include "win32/FileTime.h"
#include "app/StepOutcome.h"
#include "fs/GuardedFile.h"
#include "fs/GuardedStamp.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <filesystem>
#include <tuple>

using namespace cw;
using namespace cwtest;

namespace {

constexpr std::uint64_t kSecond = 10'000'000;
const std::uint64_t kStart = *ParseFileTime("2026-05-12T08:15:00.1234567Z");
const std::uint64_t kWhole = kStart - kStart % kSecond; // the clock's second the run began in
const std::uint64_t kNow = kStart + 10 * kSecond;
constexpr std::uint64_t kOldTime = 132'000'000'000'000'000;
constexpr StampTimes kOld{kOldTime, kOldTime, kOldTime};

StepRequest Sample(StepAction action = StepAction::Stamp) {
    StepRequest request{7, action, kStart, kStart + 4 * kSecond, 60, {}};
    request.files = {{"Steam.url", 0, kOld, kWhole + kSecond},
                     {"Mail.lnk", 2, kOld, kWhole + 122 * kSecond}};
    return request;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::optional<StepOutcome> OutcomeOf(const std::string& request) {
    return ReadStepOutcome(GuardedFile::Read(OutcomePathOf(request), kMaxRequestBytes).text);
}

} // namespace

TEST(StepRequest, ReadsItsOwnTextBackAndRefusesEveryKindOfDamageWhole) {
    StepRequest request = Sample();
    request.files[1].name = "Mail\x7F 日本.lnk"; // DEL and blanks are legal in a name
    const std::string text = *WriteStepRequest(request);
    EXPECT_EQ(ReadStepRequest(text).request, request);
    EXPECT_EQ(ReadStepRequest(Replaced(text, "\nrun", "\r\nrun")).request, request);
    const std::string stamp = FormatFileTime(kWhole + kSecond);
    const std::pair<std::string, std::string> damage[] = {
        {"request 1", "request 2"},
        {"run 7", "run 07"},
        {"run 7", "run 0"},
        {"run 7\n", ""},
        {"action stamp", "action delete"},
        {"folder all-users", "folder user"},
        {"step +60", "step +30"},
        {"started 2026", "started 26"},
        {"end\n", ""},
        {"end\n", "end"},
        {"end\n", "end\nend\n"},
        {"file 0 ", "file 32767 "},
        {"file 0 ", "file -1 "},
        {" Steam.url", " "},
        {" Steam.url", " St\x01.url"},
        {"Mail\x7F 日本.lnk", "Steam.url"},
        {stamp, "-"}}; // the last two: a name twice, no planned time to stamp
    for (const auto& [from, to] : damage)
        EXPECT_FALSE(ReadStepRequest(Replaced(text, from, to)).request) << from << " -> " << to;
    EXPECT_FALSE(WriteStepRequest({7, StepAction::Stamp, 0, 0, 60, {{"a\nb.lnk", 0, kOld, 1}}}));
}

TEST(StepRequest, AllowsOnlyTheTimesTheRunPlannedWithinItsWindow) {
    EXPECT_FALSE(CheckWindow(Sample(), kNow));
    const auto windowOf = [](StepAction action, std::int16_t step, std::uint64_t from,
                             std::uint64_t until) {
        StepRequest request = Sample(action);
        std::tie(request.step, request.started, request.until) = std::tuple(step, from, until);
        return CheckWindow(request, until + kSecond).has_value();
    };
    // A step no run takes, a window that ends before it starts, a run longer than a day (which a
    // late Undo may follow).
    const std::uint64_t day = 86'400 * kSecond;
    EXPECT_EQ((std::array{windowOf(StepAction::Stamp, 30, kStart, kStart),
                          windowOf(StepAction::Stamp, 60, kStart + 1, kStart),
                          windowOf(StepAction::Stamp, -60, kStart, kStart + day + 1),
                          windowOf(StepAction::Restore, -60, kStart, kStart + day + 1)}),
              (std::array{true, true, true, false}));
    EXPECT_TRUE(CheckWindow(Sample(), kStart + 2 * kSecond)) << "a window not yet over";

    // Row, step, planned stamp: the clock's second within the window, plus the row's offset.
    const std::tuple<std::int32_t, std::int16_t, std::optional<std::uint64_t>, bool> planned[] = {
        {0, 60, kWhole, true},
        {0, 60, kWhole + 5 * kSecond, true},
        {0, 60, kWhole + 6 * kSecond, false},
        {0, 60, kWhole - kSecond, false},
        {0, 60, kWhole + 1, false},
        {2, 60, kWhole + kSecond, false},
        {2, 60, kWhole + 121 * kSecond, true},
        {1, -60, kWhole - 59 * kSecond, true},
        {1, 60, std::nullopt, false}};
    for (const auto& [row, step, stamp, allowed] : planned) {
        StepRequest request = Sample();
        request.step = step;
        const StepFile file{"a.lnk", row, kOld, stamp};
        EXPECT_EQ(CheckPlanned(request, file) == StampReason::Stamped, allowed)
            << row << " " << step;
    }
    // Before stamping or restoring, a file holds the time the run found or the stamp it gives
    // (where the run did not record it: one it may have written); else it has changed since.
    const StepFile steam = Sample().files[0];
    const WrittenCheck stamping = ExpectedWritten(Sample(), steam);
    const WrittenCheck restoring = ExpectedWritten(Sample(StepAction::Restore), steam);
    const WrittenCheck unknown =
        ExpectedWritten(Sample(StepAction::Restore), {"a.lnk", 1, kOld, std::nullopt});
    EXPECT_EQ(
        (std::array{stamping(kOldTime), stamping(*steam.stamp), stamping(kOldTime + 1),
                    restoring(*steam.stamp), restoring(kOldTime), restoring(kWhole + 2 * kSecond),
                    unknown(kWhole + 62 * kSecond), unknown(kWhole + 67 * kSecond)}),
        (std::array{true, true, false, true, true, false, true, false}));
}

TEST(AllUsersStep, StampsWhatTheRunPlannedAndNamesEveryFileItRefused) {
    const TempFolder desk, journal;
    for (const char* name : {"Steam.url", "Mail.lnk", "Notes.txt", "Late.lnk", "Moved.lnk"})
        SetExactTimes(desk.MakeFile(name), {kOldTime, kOldTime, kOldTime});
    desk.MakeFolder("Dir.lnk");
    ASSERT_TRUE(CreateHardLinkA((desk / "Twin.lnk").c_str(), (desk / "Late.lnk").c_str(), nullptr));
    SetExactTimes(desk / "Moved.lnk", {kOldTime, kOldTime, kOldTime + kSecond});
    const auto before = FolderTimes(desk.Path());
    auto expected = before;
    StepRequest request = Sample();
    const std::pair<const char*, StampReason> refused[] = {
        {"Notes.txt", StampReason::NotShortcut},    {"Dir.lnk", StampReason::Folder},
        {"Twin.lnk", StampReason::MoreThanOneLink}, {"..\\Steam.url", StampReason::Outside},
        {"Moved.lnk", StampReason::ChangedSince},   {"Late.lnk", StampReason::NotPlanned}};
    std::vector<OutcomeFile> named{{"Steam.url"}, {"Mail.lnk"}};
    for (const auto& [name, reason] : refused) {
        request.files.push_back({name, 1, kOld, kWhole + 60 * kSecond});
        named.push_back({name, reason});
    }
    request.files.back().stamp = kWhole + 66 * kSecond; // a second after the window
    const std::string path =
        journal.MakeFile("journal-000007.request.txt", *WriteStepRequest(request));
    EXPECT_EQ(RunAllUsersStep(path, desk.Path(), kNow), 2);
    EXPECT_EQ(OutcomeOf(path), (StepOutcome{7, std::nullopt, named, true}));
    for (const StepFile& file : Sample().files)
        expected[file.name] = {*file.stamp, *file.stamp, *file.stamp};
    EXPECT_EQ(FolderTimes(desk.Path()), expected);

    // Undo: both back to their times, the one whose stamp the run did not record too.
    StepRequest undo = Sample(StepAction::Restore);
    undo.files[1].stamp.reset();
    const std::string back =
        journal.MakeFile("journal-000008.request.txt", *WriteStepRequest(undo));
    EXPECT_EQ(RunAllUsersStep(back, desk.Path(), kNow), 0);
    EXPECT_EQ(FolderTimes(desk.Path()), before);
}

TEST(AllUsersStep, RefusesARequestWholeOrWritesNoOutcomeAndStampsNothing) {
    const TempFolder desk, journal;
    for (const char* name : {"Steam.url", "Mail.lnk"})
        SetExactTimes(desk.MakeFile(name), {kOldTime, kOldTime, kOldTime});
    const auto before = FolderTimes(desk.Path());
    const std::string good = *WriteStepRequest(Sample());

    const std::string huge = journal.MakeFile("journal-000001.request.txt");
    std::filesystem::resize_file(huge, kMaxRequestBytes + 1);
    const std::string damaged = journal.MakeFile("journal-000002.request.txt", good.substr(9));
    const std::string early = journal.MakeFile("journal-000003.request.txt", good);
    using Run = std::optional<std::int64_t>;
    for (const auto& [path, refusal, run, now] :
         {std::tuple(huge, RequestRefusal::TooLarge, Run(), kNow),
          std::tuple(damaged, RequestRefusal::Damaged, Run(), kNow),
          std::tuple(early, RequestRefusal::Window, Run(7), kStart)}) {
        EXPECT_EQ(RunAllUsersStep(path, desk.Path(), now), 2) << path;
        EXPECT_EQ(OutcomeOf(path), (StepOutcome{run, refusal, {}, true})) << path;
    }
    // No outcome where the step was not asked by name, nor over one already there (a link
    // planted there included: GuardedFile's test), nor without a request: and then no stamp.
    const std::string planted = journal.MakeFile("journal-000004.request.txt", good);
    journal.MakeFile("journal-000004.outcome.txt", "theirs");
    const std::string named = journal.MakeFile("journal-000005.txt", good);
    EXPECT_EQ(RunAllUsersStep(planted, desk.Path(), kNow), 3);
    EXPECT_EQ(GuardedFile::Read(OutcomePathOf(planted), 9).text, "theirs");
    EXPECT_EQ(RunAllUsersStep(named, desk.Path(), kNow), 64);
    EXPECT_EQ(RunAllUsersStep(journal / "journal-000006.request.txt", desk.Path(), kNow), 3);
    EXPECT_EQ(FolderTimes(journal.Path()).count("journal-000006.outcome.txt"), 0u);
    EXPECT_EQ(FolderTimes(desk.Path()), before);
}

TEST(StepOutcome, ReadsOnlyItsFormAndTellsAStepCutShort) {
    const std::string head = OutcomeHead(7) + OutcomeFileLine("Steam.url", StampReason::Stamped) +
                             OutcomeFileLine("A b.lnk", StampReason::AccessDenied);
    const std::vector<OutcomeFile> files{{"Steam.url"}, {"A b.lnk", StampReason::AccessDenied}};
    EXPECT_EQ(ReadStepOutcome(head + OutcomeEndLine()), (StepOutcome{7, {}, files, true}));
    EXPECT_EQ(ReadStepOutcome(head + "file stam"), (StepOutcome{7, {}, files, false}));
    EXPECT_EQ(ReadStepOutcome(OutcomeHead({}) + OutcomeRefusedLine(RequestRefusal::Damaged)),
              (StepOutcome{{}, RequestRefusal::Damaged, {}, false}));
    for (const std::string& bad :
         {std::string(), std::string("Clutterwise all-users outcome 2\n"),
          head + "file bogus X.lnk\n", head + "file stamped \n",
          head + OutcomeRefusedLine(RequestRefusal::Damaged), head + "end\nend\n",
          OutcomeHead({}) + "file stamped X.lnk\n", OutcomeHead(7) + "run 7\n",
          Replaced(head, "run 7", "run 07"), head + "file stamped \x01.lnk\n"})
        EXPECT_FALSE(ReadStepOutcome(bad)) << bad;

    EXPECT_EQ(
        (std::array{OutcomePathOf("C:\\J\\j-7.request.txt"), OutcomePathOf("C:\\J\\J.REQUEST.TXT"),
                    OutcomePathOf("C:\\J\\.request.txt"), OutcomePathOf("C:\\J\\j-7.txt")}),
        (std::array<std::string, 4>{"C:\\J\\j-7.outcome.txt", "C:\\J\\J.outcome.txt"}));
}

// Run by all-users-refused.sh as an unprivileged user, on the desktop of all users of that user's
// own prefix, where root owns every shortcut and has planted a link to a file this user owns.
TEST(RefusedForReal, RootOwnedShortcutsOfTheAllUsersDesktopAreNotStamped) {
    const std::string desktop = GuardedStamp::AllUsersDesktop();
    const auto before = FolderTimes(desktop);
    const std::uint64_t clock = UtcNow(), whole = clock - kSecond - clock % kSecond;
    StepRequest request{1, StepAction::Stamp, clock - kSecond, clock, 60, {}};
    std::vector<OutcomeFile> expected;
    for (const auto& [name, times] : before) {
        if (name == "." || name == "..")
            continue;
        const auto row = static_cast<std::int32_t>(request.files.size());
        const StampTimes found{times.created, times.accessed, times.written};
        request.files.push_back({name, row, found, whole + row * 60 * kSecond});
        expected.push_back(
            {name, name == "Planted.lnk" ? StampReason::Outside : StampReason::AccessDenied});
    }
    ASSERT_EQ(expected.size(), 5u) << "the files all-users-refused.sh makes in " << desktop;
    const TempFolder journal;
    const std::string path =
        journal.MakeFile("journal-000001.request.txt", *WriteStepRequest(request));
    EXPECT_EQ(RunAllUsersStep(path, desktop, clock), 2);
    EXPECT_EQ(OutcomeOf(path), (StepOutcome{1, {}, expected, true}));
    EXPECT_EQ(FolderTimes(desktop), before);
}
