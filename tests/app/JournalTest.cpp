// The journal of runs: its text and what the reader refuses, the runs kept on disk, and "Undo"
// and "Reapply Order" in the main window on the test desktop. Times are compared to the 100 ns.
#include "FileStamps.h"
#include "MessageBoxAnswerer.h"
#include "TempFolder.h"
#include "TestDesktop.h"
#include "app/FormClutterwise.h"
#include "app/Journal.h"
#include "app/Runs.h"
#include "controls/Components.h"
#include "forms/ListBox.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace cw;
using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;
constexpr FileTimeValue kSecond = 10'000'000, kDay = 86'400 * kSecond;
constexpr const char* kSample =
    "Clutterwise journal 1\n"
    "# a note\n"
    "run 7\n"
    "kind reapply\n"
    "started 2026-05-12T08:15:00.1234567Z\n"
    "folder C:\\D\\\n"
    "method descending\n"
    "order Mail\n"
    "order Straße\n"
    "file +0 2025-11-02T09:00:01.5000000Z 2024-02-29T23:59:59.9999999Z "
    "1601-01-01T00:00:00.0000000Z - C:\\D\\Mail.lnk\n"
    "file -60 30828-09-14T02:48:05.4775807Z 2020-01-01T00:00:00.0000000Z "
    "2020-01-01T00:00:00.0000001Z 2026-05-12T08:15:00.0000000Z C:\\D\\Straße.lnk\n"
    "undone 2026-05-12T08:20:13.0000000Z\n"
    "end\n";

void WriteText(const std::string& path, const std::string& text) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

TEST(JournalText, ReadsItsOwnTextBackAndRefusesEveryKindOfDamage) {
    const JournalReadResult read = ReadJournal(kSample);
    ASSERT_TRUE(read.run) << read.line << ": " << read.error;
    const JournalRun& run = *read.run;
    EXPECT_EQ(std::tuple(run.number, run.kind, run.step, run.order),
              std::tuple(7, RunKind::Reapply, -60, Texts{"Mail", "Straße"}));
    ASSERT_EQ(run.files.size(), 2u);
    EXPECT_EQ(std::tuple(run.files[1].offset, run.files[1].original.created,
                         run.files[1].original.written - run.files[1].original.accessed),
              std::tuple(-60, 0x7FFF'FFFF'FFFF'FFFFull, 1ull));
    EXPECT_TRUE(!run.files[0].stamped && run.files[1].stamped && run.undone && !run.finished);
    const auto written = WriteJournal(run);
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadJournal(*written).run, run);
    std::string crlf;
    for (const char c : std::string(kSample))
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    EXPECT_EQ(ReadJournal(crlf).run, run) << "line ends an editor may leave";

    // Each kind of damage makes the whole text unreadable, with a reason.
    const std::pair<std::string, std::string> damage[] = {
        {"end\n", ""},                                  // cut short
        {"end\n", "end"},                               // torn within the last line
        {"journal 1", "journal 2"},                     // a version this program does not know
        {"Clutterwise journal 1", "Clutterwise diary"}, // not a journal
        {"2024-02-29", "2023-02-29"},                   // no such day
        {"4775807Z", "4775808Z"},                       // beyond the platform's times
        {"0000001Z", "000001Z"},                        // not the one exact form
        {"+0 ", "+00 "},                                // nor a number's
        {"-60", "60"},
        {"run 7", "run 0"},
        {"kind reapply\n", ""}, // a fact missing
        {"method descending", "method sideways"},
        {"Straße\n", "Stra\xC3\n"}, // not UTF-8
        {"Mail.lnk", "Ma\x01il.lnk"},
        {" - C:\\D\\Mail.lnk", " -"},            // no path
        {"order Mail\n", "run 8\norder Mail\n"}, // a fact twice
        {"order Mail\n", "colour red\n"},        // an unknown line
        {"end\n", "end\nrun 8\n"},               // text after the end
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
        run.order = {"Row " + std::to_string(i)};
        ASSERT_TRUE(journal.Save(run));
        EXPECT_EQ(run.number, i);
    }
    Journal reader(journal.Folder());
    EXPECT_TRUE(reader.Load().empty());
    ASSERT_EQ(reader.Runs().size(), 20u);
    EXPECT_EQ(reader.Runs().front().number, 3);
    EXPECT_EQ(reader.Runs().back(), journal.Runs().back());

    // Torn in half (as by a copy that broke off): set aside, named once, the rest read on.
    WriteText(journal.Folder() + "journal-000022.txt",
              WriteJournal(journal.Runs().back())->substr(0, 60));
    EXPECT_EQ(reader.Load(), Texts{journal.Folder() + "journal-000022.damaged.txt"});
    EXPECT_TRUE(reader.Load().empty());
    EXPECT_EQ(reader.LatestToUndo()->number, 21);
    JournalRun next = reader.Runs().back();
    next.number = 0;
    next.undone = kDay;
    ASSERT_TRUE(reader.Save(next));
    EXPECT_EQ(next.number, 23); // after the one set aside, never over it
    EXPECT_EQ(reader.LastOrder("c:\\d\\")->number, 21);
    EXPECT_FALSE(reader.LastOrder("C:\\E\\"));
}

TEST(Runs, ReapplyRowsRecognisedStampsAndTheSummary) {
    EXPECT_EQ(ReapplyRows({"C", "Gone", "A", "C"}, {"A", "New", "C", "Other"}),
              (Texts{"C", "A", "New", "Other"}));

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
    UndoReport report{3, 30, {}, {"C:\\D\\Gone.lnk"}, {}, true};
    for (int i = 0; i < 24; ++i)
        report.changed.push_back("C:\\D\\" + std::to_string(i) + ".lnk");
    const std::string text = UndoSummary(report);
    const std::string head =
        "Restored 3 of 30 shortcuts.\r\nLeft alone:\r\n0.lnk (changed since)\r\n";
    const std::string tail = "\r\n19.lnk (changed since)\r\nand 5 more";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

namespace {

// The main window on the test desktop with an empty journal; its boxes are answered. It stays
// hidden (see ItemsTest).
class UndoWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponents();
        TestDesktop::Clear();
        RemoveTree(JournalFolder());
    }
    void TearDown() override { RemoveTree(JournalFolder()); }
    static std::string JournalFolder() {
        const std::string folder = Journal::UserFolder();
        return folder.substr(0, folder.size() - 1);
    }
    static std::string PathOf(const std::string& name) { return TestDesktop::Path() + "\\" + name; }
    // A file whose three times differ, down to the 100 ns; what the file system kept of them.
    static ExactTimes Make(const std::string& name, FileTimeValue at) {
        WriteText(PathOf(name), "shortcut");
        SetExactTimes(PathOf(name), {at + 1'234'567, at + kDay + 2'345'678, at + 3'456'789});
        return ExactTimesOf(PathOf(name));
    }
    void Open() { ASSERT_TRUE(form.Load()) << form.LoadError(); }
    bool Enabled(const char* name) { return IsWindowEnabled(form.Get<Control>(name).Hwnd()); }
    void Click(const char* button) {
        SendMessageA(form.Get<Control>(button).Hwnd(), BM_CLICK, 0, 0);
    }
    void Process() {
        Click("CommandSelectall");
        Click("CommandItemsAdd");
        Click("CommandProcess");
    }
    Texts Listed() {
        Texts rows;
        for (int i = 0; i < form.Get<ListBox>("ListItemsCurrent").ListCount(); ++i)
            rows.push_back(form.Get<ListBox>("ListItemsCurrent").List(i));
        return rows;
    }
    std::string LastBox() { return answerer.Boxes().empty() ? "" : answerer.Boxes().back().text; }

    const FileTimeValue monthAgo = UtcNow() - 30 * kDay;
    FormClutterwise form;
    MessageBoxAnswerer answerer;
};

} // namespace

// Two runs, ascending then descending, undone one by one; every time back to the 100 ns. Wine on
// Linux cannot set a creation time: it reads back as the write time, before the runs and after
// the undo alike, so the creation times compared here are write times.
TEST_F(UndoWindow, PutsBackAllThreeTimesRunByRunAndListsTheDesktopAgain) {
    const Texts names{"Mail.lnk", "Mail.pif", "Straße.lnk", "日本語.lnk"};
    const auto times = [&] {
        std::vector<ExactTimes> all;
        for (const std::string& name : names)
            all.push_back(ExactTimesOf(PathOf(name)));
        return all;
    };
    FileTimeValue at = monthAgo;
    for (const std::string& name : names)
        Make(name, at += kDay);
    const auto original = times();
    Open();
    EXPECT_FALSE(Enabled("CommandUndo") || Enabled("CommandReapply"));
    Process();
    EXPECT_TRUE(Enabled("CommandUndo") && Enabled("CommandReapply"));
    const auto first = times();
    Click("OptionMethodDescending");
    Click("CommandProcess");
    EXPECT_NE(times()[2], first[2]);

    Click("CommandUndo");
    EXPECT_EQ(times(), first);
    EXPECT_EQ(LastBox(), "Restored 4 of 4 shortcuts.");
    Click("CommandUndo");
    EXPECT_EQ(times(), original);
    EXPECT_EQ(Listed(), (Texts{"Mail", "Straße", "日本語"}));
    EXPECT_EQ(form.Get<ListBox>("ListItemsNew").ListCount(), 0);
    EXPECT_FALSE(Enabled("CommandUndo") || Enabled("CommandReapply"));
}

// Changed since the run: left alone and named; gone: skipped and named; held open: the same box
// as processing gives, and the undo goes on.
TEST_F(UndoWindow, LeavesAloneWhatChangedSinceSkipsWhatIsGoneAndReportsWhatItCannotWrite) {
    std::map<std::string, ExactTimes> original;
    FileTimeValue at = monthAgo;
    for (const char* name : {"A.lnk", "B.lnk", "C.lnk", "D.lnk", "E.lnk"})
        original[name] = Make(name, at += kDay);
    Open();
    Process();
    const ExactTimes changed{monthAgo, monthAgo, monthAgo};
    SetExactTimes(PathOf("B.lnk"), changed);
    DeleteFileA(PathOf("C.lnk").c_str());
    const HANDLE hold = CreateFileA(PathOf("D.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    answerer.Clear();
    Click("CommandUndo");
    CloseHandle(hold);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].text, "Error accessing " + PathOf("D.lnk"));
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(answerer.Boxes()[1].text, "Restored 2 of 5 shortcuts.\r\nLeft alone:\r\n"
                                        "B.lnk (changed since)\r\nC.lnk (gone)");
    EXPECT_EQ(answerer.Boxes()[1].icon, BoxIcon::Information);
    EXPECT_EQ(ExactTimesOf(PathOf("A.lnk")), original["A.lnk"]);
    EXPECT_EQ(ExactTimesOf(PathOf("E.lnk")), original["E.lnk"]);
    EXPECT_EQ(ExactTimesOf(PathOf("B.lnk")).written, changed.written);
}

// An installer deletes a shortcut and makes it anew (the newest on the desktop) and adds one.
TEST_F(UndoWindow, ReapplyPutsARecreatedShortcutBackInItsPlace) {
    FileTimeValue at = monthAgo;
    for (const char* name : {"A.lnk", "B.lnk", "C.lnk"})
        Make(name, at += kDay);
    Open();
    Click("OptionMethodDescending");
    Process(); // A newest, then B, then C
    DeleteFileA(PathOf("B.lnk").c_str());
    Make("B.lnk", UtcNow() + kDay);
    Make("New.lnk", monthAgo - 9 * kDay);
    Click("CommandRefresh");
    ASSERT_EQ(Listed(), (Texts{"New", "C", "A", "B"}));
    answerer.Clear();
    Click("CommandReapply");
    EXPECT_EQ(LastBox(), "Go to a blank area of the Desktop, click on the right mouse button\r\n"
                         "select \"Arrange Icons\", click \"by Date\"");
    EXPECT_EQ(Listed(), (Texts{"New", "C", "B", "A"}));
    EXPECT_TRUE(Enabled("CommandUndo") && Enabled("CommandReapply"));
}

TEST_F(UndoWindow, ReportsAnUnreadableJournalOnceAndGoesOn) {
    JournalRun run;
    run.folder = "C:\\D\\";
    Journal journal(Journal::UserFolder());
    ASSERT_TRUE(journal.Save(run));
    WriteText(journal.Folder() + "journal-000001.txt", "Clutterwise journal 1\nrun 1\n");
    Open();
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(LastBox(), "A journal of earlier runs could not be read and was set aside:\r\n" +
                             journal.Folder() + "journal-000001.damaged.txt");
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Exclamation);
    Click("CommandRefresh");
    EXPECT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_FALSE(Enabled("CommandUndo"));
}

// Without a journal a run could not be taken back: it does not start.
TEST_F(UndoWindow, StampsNothingWhenTheJournalCannotBeWritten) {
    const ExactTimes a = Make("A.lnk", monthAgo);
    const std::string folder = JournalFolder();
    CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
    WriteText(folder, "a file where the journal's folder belongs");
    Open();
    Process();
    DeleteFileA(folder.c_str());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(LastBox(),
              "Nothing was stamped: the journal cannot be written in " + Journal::UserFolder());
    EXPECT_EQ(ExactTimesOf(PathOf("A.lnk")), a);
}
