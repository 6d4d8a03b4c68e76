// The journal of runs: its text and what the reader refuses, the runs kept on disk, and the rules
// undo and reapply go by. "Undo" and "Reapply Order" in the window: MainWindowTest.
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/Journal.h"
#include "app/NewOrder.h"
#include "app/Repair.h"
#include "app/Runs.h"
#include "fs/FileActions.h"
#include "fs/FileSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <tuple>

using namespace cw;
using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;
constexpr FileTimeValue kSecond = 10'000'000, kDay = 86'400 * kSecond;
constexpr FileTimeValue kEpoch = 133'000'000'000'000'000; // in 2022
constexpr const char* kSample =
    "Clutterwise journal 2\n"
    "# a note\n"
    "run 7\n"
    "kind reapply\n"
    "started 2026-05-12T08:15:00.1234567Z\n"
    "folder C:\\D\\\n"
    "all-users C:\\P\\\n"
    "method descending\n"
    "order user Mail.lnk\n"
    "order user Straße.LNK\n"
    "order all-users Tab<09>Del<7F><3C>.url\n"
    "file +0 2025-11-02T09:00:01.5000000Z 2024-02-29T23:59:59.9999999Z "
    "1601-01-01T00:00:00.0000000Z - C:\\D\\Mail.lnk\n"
    "file -60 30828-09-14T02:48:05.4775807Z 2020-01-01T00:00:00.0000000Z "
    "2020-01-01T00:00:00.0000001Z 2026-05-12T08:15:00.0000000Z C:\\D\\Straße.LNK\n"
    "file -120 2020-01-01T00:00:00.0000000Z 2020-01-01T00:00:00.0000000Z "
    "2020-01-01T00:00:00.0000000Z - C:\\P\\Tab<09>Del<7F><3C>.pif\n"
    "undone 2026-05-12T08:20:13.0000000Z\n"
    "end\n";

} // namespace

TEST(JournalText, ReadsItsOwnTextBackAndRefusesEveryKindOfDamage) {
    const JournalReadResult read = ReadJournal(kSample);
    ASSERT_TRUE(read.run) << read.line << ": " << read.error;
    const JournalRun& run = *read.run;
    const std::vector<OrderRow> order{
        {false, "Mail.lnk"}, {false, "Straße.LNK"}, {true, "Tab\tDel\x7F<.url"}};
    EXPECT_EQ(std::tuple(run.number, run.kind, run.step, run.order, run.allUsersFolder),
              std::tuple(7, RunKind::Reapply, -60, order, "C:\\P\\"));
    ASSERT_EQ(run.files.size(), 3u);
    EXPECT_EQ(std::tuple(run.files[1].offset, run.files[1].original.created,
                         run.files[1].original.written - run.files[1].original.accessed),
              std::tuple(-60, 0x7FFF'FFFF'FFFF'FFFFull, 1ull));
    EXPECT_EQ(run.files[0].stamped, std::nullopt);
    EXPECT_EQ(run.files[1].stamped, ParseFileTime("2026-05-12T08:15:00.0000000Z"));
    EXPECT_TRUE(run.undone);
    EXPECT_FALSE(run.finished);
    const auto written = WriteJournal(run);
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadJournal(*written).run, run);
    std::string crlf;
    for (const char c : std::string(kSample))
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    // What an editor may leave: other line ends, a byte-order mark.
    for (const std::string& saved :
         {crlf, "\xEF\xBB\xBF" + std::string(kSample), "\xEF\xBB\xBF" + crlf})
        EXPECT_EQ(ReadJournal(saved).run, run) << saved.substr(0, 24);
    JournalRun partly = run; // an undo begun, one file still to restore
    partly.undone.reset();
    partly.pending = {"C:\\D\\Mail.lnk"};
    EXPECT_EQ(ReadJournal(WriteJournal(partly).value()).run, partly);

    // Each kind of damage makes the whole text unreadable, with a reason.
    const std::pair<std::string, std::string> damage[] = {
        {"end\n", ""},                                  // cut short
        {"end\n", "end"},                               // torn within the last line
        {"journal 2", "journal 3"},                     // a version this program does not know
        {"Clutterwise journal 2", "Clutterwise diary"}, // not a journal
        {"2024-02-29", "2023-02-29"},                   // no such day
        {"4775807Z", "4775808Z"},                       // beyond the platform's times
        {"0000001Z", "000001Z"},                        // not the one exact form
        {"+0 ", "+00 "},                                // nor a number's
        {"-60", "60"},
        {"run 7", "run 0"},
        {"kind reapply\n", ""}, // a fact missing
        {"method descending", "method sideways"},
        {"Straße.LNK\n", "Stra\xC3.LNK\n"}, // not UTF-8
        {"Mail.lnk", "Ma\x01il.lnk"},
        {"<7F>", "<41>"}, // an escape the writer does not write
        {"<7F>", "<7f>"},
        {" - C:\\D\\Mail.lnk", " -"},                              // no path
        {"order user Mail.lnk\n", "run 8\norder user Mail.lnk\n"}, // a fact twice
        {"order user Mail.lnk\n", "colour red\n"},                 // an unknown line
        {"order user Mail.lnk", "order user Mail.txt"},            // a row that is no shortcut
        {"order user Mail.lnk", "order Mail"},                     // a row of the old version
        {"order user", "order everyone"},                          // a folder of no kind
        {"end\n", "end\nrun 8\n"},                                 // text after the end
        // A file the run did not plan: Undo would set the times of whatever the line names.
        {"C:\\D\\Mail.lnk", "C:\\Docs\\Mail.lnk"},     // outside the desktop folder
        {"C:\\D\\Mail.lnk", "C:\\D\\Mail.txt"},        // not a file the program stamps
        {"C:\\D\\Mail.lnk", "C:\\D\\Other.lnk"},       // not one of the run's rows
        {"C:\\D\\Mail.lnk", "C:\\D\\x\\..\\Mail.lnk"}, // not directly inside the folder
        {"C:\\D\\Mail.lnk", "C:\\D\\Mail.LNK"},        // not as the program spells it
        {"C:\\P\\Tab", "C:\\D\\Tab"},                  // a row's file in the other folder
        {"all-users C:\\P\\\n", ""},                   // the other folder missing
        {"order user Mail.lnk\n", ""},                 // a row's file, the row missing
        {"undone", "order user Mail.lnk\nundone"},     // an order line after the files
        {"undone 2026-05-12T08:20:13.0000000Z", "pending C:\\D\\Other.lnk"}, // not its file
        {"undone", "pending C:\\D\\Mail.lnk\nundone"}, // still to restore, yet undone
    };
    for (const auto& [from, to] : damage) {
        std::string text = kSample;
        text.replace(text.find(from), from.size(), to);
        const JournalReadResult damaged = ReadJournal(text);
        EXPECT_FALSE(damaged.run) << from << " -> " << to;
        EXPECT_FALSE(damaged.error.empty());
    }
    EXPECT_FALSE(ReadJournal("").run);
}

TEST(JournalStore, KeepsTheNewestTwentyRunsAndSetsAnUnreadableOneAsideOnce) {
    const TempFolder temp;
    Journal journal(temp.Path() + "\\Norvanta\\Clutterwise\\"); // made when first written
    for (int i = 1; i <= 22; ++i) {
        JournalRun run;
        run.started = static_cast<FileTimeValue>(i) * kDay;
        run.folder = "C:\\D\\";
        run.order = {{false, "Row " + std::to_string(i) + ".lnk"}};
        ASSERT_TRUE(journal.Save(run));
        EXPECT_EQ(run.number, i);
    }
    Journal reader(journal.Folder());
    EXPECT_TRUE(reader.Load().empty());
    ASSERT_EQ(reader.Runs().size(), 20u);
    EXPECT_EQ(reader.Runs().front().run.number, 3);
    EXPECT_EQ(reader.Runs().back().run.order.at(0).name, "Row 22.lnk");

    // Torn in half (as by a copy that broke off): set aside, named once, the rest read on.
    std::ofstream(journal.Folder() + "journal-000022.txt", std::ios::binary)
        << WriteJournal(journal.Runs().back().run)->substr(0, 60);
    EXPECT_EQ(reader.Load(), Texts{journal.Folder() + "journal-000022.damaged.txt"});
    EXPECT_TRUE(reader.Load().empty());
    EXPECT_EQ(reader.LatestToUndo()->number, 21);
    JournalRun next = reader.Runs().back().run;
    next.number = 0;
    next.undone = kDay;
    ASSERT_TRUE(reader.Save(next));
    EXPECT_EQ(next.number, 23); // after the one set aside, never over it
    EXPECT_EQ(reader.LastOrder("c:\\d\\")->number, 21);
    EXPECT_FALSE(reader.LastOrder("C:\\E\\"));
}

// Names with numbers the program does not write neither block nor number a run, and stay as they
// are; the last number it writes refuses the next run, naming it. (Each name: the next number.)
TEST(JournalStore, OnlyTheProgramsOwnNumbersCount) {
    const TempFolder temp;
    for (const auto& [name, next] : {std::pair{"journal-999999999999.txt", 1},
                                     {"journal-1000000.txt", 1},
                                     {"journal-000000.txt", 1},
                                     {"journal-12.txt", 1},
                                     {"journal-000041.damaged.txt", 42},
                                     {"journal-999999.txt", 0}}) {
        Journal journal(temp.MakeFolder(name) + "\\");
        const std::string file = temp.MakeFile(std::string(name) + "\\" + name, "a journal");
        JournalRun run;
        run.folder = "C:\\D\\";
        EXPECT_EQ(journal.Save(run), next != 0) << name;
        EXPECT_EQ(run.number, next) << name;
        EXPECT_EQ(ReadWholeFile(file, 99), "a journal") << name;
        const std::string refusal =
            "the journal's run numbers are used up: " + file + " holds the last one";
        EXPECT_EQ(journal.Error(), next == 0 ? refusal : "") << name;
    }
}

// A large journal is read for its summary; its order or all its rows when they are needed, and a
// fault among them is found then.
TEST(JournalStore, ReadsALargeRunWholeOnlyWhenItIsNeeded) {
    const TempFolder temp;
    Journal journal(temp.Path() + "\\");
    JournalRun run;
    run.folder = "C:\\D\\";
    for (int i = 0; i < 5000; ++i) // an order longer than the summary's first block
        run.order.push_back({false, std::to_string(i) + ".lnk"});
    for (int i = 0; i < 5000; ++i)
        run.files.push_back({"C:\\D\\" + std::to_string(i) + ".lnk", i * 60, {1, 2, 3}, 4});
    run.finished = kDay;
    ASSERT_TRUE(journal.Save(run));
    for (const bool damaged : {false, true}) {
        Journal reader(journal.Folder());
        EXPECT_TRUE(reader.Load().empty());
        const JournalRun* summary = reader.LatestToUndo();
        ASSERT_TRUE(summary);
        EXPECT_FALSE(summary->whole);
        EXPECT_EQ(summary->finished, kDay);
        JournalRun copy = *summary; // its rows not read: saving it would drop them
        EXPECT_FALSE(reader.Save(copy));
        EXPECT_TRUE(copy.files.empty());
        std::string text = *WriteJournal(run);
        if (damaged) // a row half-way, beyond the summary's reach
            std::ofstream(journal.Folder() + "journal-000001.txt", std::ios::binary)
                << text.replace(text.find("file +30000 "), 4, "fil!");
        // The order alone, as the drift check reads it: unhurt by a fault among the files.
        const JournalRun* ordered = reader.ReadOrder(summary);
        ASSERT_TRUE(ordered);
        EXPECT_EQ(ordered->order, run.order);
        EXPECT_TRUE(ordered->files.empty());
        const JournalRun* whole = reader.ReadWhole(ordered);
        EXPECT_EQ(whole ? *whole : JournalRun{}, damaged ? JournalRun{} : run);
        EXPECT_EQ(reader.Load().size(), damaged ? 1u : 0u);
    }
}

// A desktop folder whose own path has 250 characters: the plan lists it, the run stamps it and
// undo (from the journal as the old version wrote it) puts back every time of files whose full
// paths pass the old limit of 260. A row whose name
// the journal cannot hold (not UTF-8) is left alone and named, not reported as a failed file.
TEST(Runs, JournalAndUndoARunOnADesktopFolderOf250Characters) {
    const TempFolder temp;
    const std::string folder = temp.MakeFolder(std::string(248 - temp.Path().size(), 'd')) + "\\";
    const Texts rows{"Mail from the office", "Notes for the meeting"};
    std::vector<ExactTimes> original;
    for (const std::string& row : rows) {
        const std::string path =
            temp.MakeFile(folder.substr(temp.Path().size() + 1) + row + ".lnk");
        SetExactTimes(path, {kEpoch + 1, kEpoch + kDay + 2, kEpoch + 3});
        original.push_back(ExactTimesOf(path));
    }
    Journal journal(temp.Path() + "\\journal\\");
    Texts failed;
    const StampOutcome outcome =
        StampJournaled(journal, FileSystem(), RunKind::Process, {folder, ""},
                       {{false, rows[0] + ".lnk"}, {false, rows[1] + ".lnk"}, {false, "\xFF.lnk"}},
                       kStepAscending, [&](const std::string& path) { failed.push_back(path); });
    ASSERT_TRUE(outcome.journaled);
    EXPECT_EQ(outcome.unheld, Texts{"\xFF.lnk"});
    EXPECT_EQ(failed, Texts{});
    EXPECT_NE(ExactTimesOf(folder + rows[1] + ".lnk"), original[1]);
    // Undone from its journal as the old version wrote it: titles of the user's ".lnk" files.
    std::string text = *WriteJournal(*journal.ReadWhole(journal.LatestToUndo()));
    text.replace(text.find(" 2\n"), 3, " 1\n");
    for (size_t at; (at = text.find("order user ")) != std::string::npos;)
        text.replace(at, 11, "order ").erase(text.find(".lnk\n", at), 4);
    std::ofstream(journal.Folder() + "journal-000001.txt", std::ios::binary) << text;
    Journal old(journal.Folder());
    EXPECT_TRUE(old.Load().empty());
    const JournalRun* run = old.ReadWhole(old.LatestToUndo());
    ASSERT_TRUE(run);
    EXPECT_EQ(run->order.at(1), (OrderRow{false, rows[1] + ".lnk"}));
    EXPECT_EQ(UndoRun(old, *run, nullptr).restored, 2);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(ExactTimesOf(folder + rows[i] + ".lnk"), original[i]) << rows[i];
}

TEST(Runs, ReapplyRowsRecognisedStampsAndTheSummary) {
    // By folder and file: the all-users "C.lnk" is another row than the user's.
    const auto rows = [](const std::string& names) {
        std::vector<OrderRow> found;
        for (const char c : names)
            found.push_back({c >= 'a', std::string(1, static_cast<char>(c & ~0x20)) + ".lnk"});
        return found;
    };
    // The order's rows once each, gone ones too, then the others listed; those there in that order.
    JournalRun last;
    last.order = rows("CGAC");
    std::vector<DesktopItem> listed;
    for (const OrderRow& row : rows("AcNCO"))
        listed.push_back({"", 0, 0, 0, row});
    const ReapplyPlan plan = PlanReapply(last, listed);
    EXPECT_EQ(plan.rows, rows("CGAcNO"));
    EXPECT_EQ(plan.present, rows("CAcNO"));
    EXPECT_EQ(CheckReapply(last, listed).outOfPlace, plan.repair.outOfPlace);

    // A run that started at second 1000.4 and had not ended at 1010 stamps the clock's whole
    // second plus its row's offset.
    const FileTimeValue started = 1000 * kSecond + 4'000'000, until = 1010 * kSecond;
    const struct {
        FileTimeValue written;
        std::int64_t offset;
        bool mayBe;
    } stamps[] = {{1000 * kSecond, 0, true},      {999 * kSecond, 0, false},
                  {1011 * kSecond, 0, true},      {1012 * kSecond, 0, false},
                  {1065 * kSecond, 60, true},     {885 * kSecond, -120, true},
                  {1005 * kSecond + 1, 0, false}, {1005 * kSecond, 60, false}};
    for (const auto& s : stamps)
        EXPECT_EQ(MayBeStampOfRun(s.written, s.offset, started, until), s.mayBe)
            << s.written / kSecond << " " << s.offset;

    // At most 20 names, then how many more.
    UndoReport report{3, 30, {}, {"C:\\D\\Gone.lnk"}, {}, {}, true, {}};
    for (int i = 0; i < 24; ++i)
        report.changed.push_back("C:\\D\\" + std::to_string(i) + ".lnk");
    const std::string text = UndoSummary(report);
    const std::string head =
        "Restored 3 of 30 shortcuts.\r\nLeft alone:\r\n0.lnk (changed since)\r\n";
    const std::string tail = "\r\n19.lnk (changed since)\r\nand 5 more";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}
