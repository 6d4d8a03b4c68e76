// The real program, started as its own process on a desktop folder of the test's own and driven
// only through its windows as a user would: clicks on buttons and list rows, keys, answering its
// message boxes. Nothing in the program knows; the files' times are checked from outside.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "app/StepRequest.h"
#include "win32/FileTime.h"
#include "FileStamps.h"
#include "TempFolder.h"
#include "fs/FileActions.h"
#include "fs/FolderListing.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

using namespace cwtest;

namespace {

// The program's journal folder in the private prefix, emptied for each test that uses it.
std::string EmptyJournalFolder() {
    char data[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, data);
    const std::string folder = std::string(data) + "\\Norvanta\\Clutterwise";
    RemoveTree(folder);
    return folder + "\\";
}

Texts FilesIn(const std::string& folder) {
    Texts names;
    for (const cw::FolderEntry& found : cw::ListFolder(folder))
        names.push_back(found.name);
    return names;
}

// Moves every listed shortcut into the new order and presses Process.
void ProcessAll(const AppDriver& program) {
    const HWND main = program.WaitForWindow(kTitle);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(MoveAll(main));
    ClickButton(main, "Process");
}

std::pair<std::optional<DWORD>, bool> Exited(DWORD code) {
    return {code, false};
}

} // namespace

// A Desktop that resolves to nothing, and one the shell names but that is not there (under Wine a
// file in its place, as Wine's shell names no missing folder): one box says so and the program
// ends; "/reapply" ends with exit code 2 and its log says what was missing, where the local
// application data is even when the shell names none. Nothing is made.
TEST(Program, SaysSoWhenTheDesktopFolderCannotBeFound) {
    const TempFolder temp;
    const std::string file = temp.MakeFile("Desktop");
    for (const auto& [desktop, text] :
         {std::pair{std::string(), std::string("The desktop folder cannot be found.")},
          {file, "The desktop folder " + file + " cannot be found."}}) {
        const std::string journal = EmptyJournalFolder();
        const DesktopRedirect redirect(desktop);
        const AppDriver program;
        const auto box = program.AnswerMessageBox();
        EXPECT_EQ(box ? box->title + ": " + box->text : "", kTitle + (": " + text));
        EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
        EXPECT_EQ(RunSwitch("/reapply"), Exited(2));
        const std::string log = cw::ReadWholeFile(journal + "clutterwise.log", 999).value_or("");
        EXPECT_TRUE(log.ends_with(" /reapply: " + text + "\r\n")) << log;
    }
    EXPECT_EQ(cw::AttributesOf(file) & FILE_ATTRIBUTE_DIRECTORY, 0u); // still the file it was
}

// The version is written once, in project(), which also gives this test CLUTTERWISE_VERSION: the
// program's version block holds it as numbers (1.1 is 1.1.0.0) and as text.
TEST(Program, VersionBlockHoldsTheProjectVersion) {
    const std::string path = ProgramPath();
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_TRUE(
        GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    const auto value = [&](const std::string& query) {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueA(block.data(), query.c_str(), &found, &length) ? found : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value("\\"));
    ASSERT_TRUE(fixed);
    DWORD n[4] = {};
    std::sscanf(CLUTTERWISE_VERSION, "%lu.%lu.%lu.%lu", &n[0], &n[1], &n[2], &n[3]);
    const auto numbers = std::pair(n[0] << 16 | n[1], n[2] << 16 | n[3]);
    EXPECT_EQ(std::pair(fixed->dwFileVersionMS, fixed->dwFileVersionLS), numbers);
    EXPECT_EQ(std::pair(fixed->dwProductVersionMS, fixed->dwProductVersionLS), numbers);
    for (const std::string name : {"FileVersion", "ProductVersion"})
        EXPECT_STREQ(static_cast<const char*>(value("\\StringFileInfo\\040904b0\\" + name)),
                     CLUTTERWISE_VERSION)
            << name;
}

// The run stops at the error box of row 1,000 (held open elsewhere) and is killed there; a later
// "/undo" finds every file of it, stamped or not, and puts back all three times to the 100 ns.
TEST(Undo, RestoresEveryFileOfARunKilledHalfWay) {
    EmptyJournalFolder();
    const TempFolder desktop;
    const auto name = [](int i) {
        char text[32];
        std::snprintf(text, sizeof text, "Shortcut %04d.lnk", i);
        return std::string(text);
    };
    std::vector<ExactTimes> original;
    for (unsigned long long i = 0; i < 2000; ++i) {
        const std::string path = desktop.MakeFile(name(static_cast<int>(i)), "shortcut");
        const unsigned long long at = 133'000'000'000'000'000ull + i * 600'000'000ull;
        SetExactTimes(path, {at + 1, at + 22, at + 333 + i});
        original.push_back(ExactTimesOf(path));
    }
    const HANDLE hold = CreateFileA((desktop / name(1000)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    {
        const DesktopRedirect redirect(desktop.Path());
        const AppDriver program;
        ProcessAll(program);
        EXPECT_TRUE(program.WaitForMessageBox(60000));
        program.Kill();
    }
    CloseHandle(hold);
    EXPECT_NE(ExactTimesOf(desktop / name(999)), original[999]);
    EXPECT_EQ(ExactTimesOf(desktop / name(1001)), original[1001]);

    EXPECT_EQ(RunSwitch("/undo"), Exited(0));
    int restored = 0;
    for (int i = 0; i < 2000; ++i)
        restored += ExactTimesOf(desktop / name(i)) == original[static_cast<size_t>(i)];
    EXPECT_EQ(restored, 2000);
    EXPECT_EQ(FilesIn(desktop.Path()).size(), 2000u);
}

// "/reapply", "/undo" and "/status" show no window, take no part in the single-instance test (a
// window is open meanwhile) and tell how it went by their exit codes and the log; they cover the
// desktop of all users as well. A reapply of an ordered desktop writes nothing and records no
// run; one out of place is put back alone.
TEST(CommandLine, ReappliesUndoesAndTellsTheStatusWithoutAWindow) {
    const std::string journal = EmptyJournalFolder();
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"A", "B", "C"})
        SetLocalStamp(desktop.MakeFile(std::string(name) + ".lnk"), t + (name[0] - 'A'));
    const DesktopRedirect redirect(desktop.Path());
    const std::string all = EmptyAllUsersDesktop() + "\\";
    const std::string game = all + "Game.url";
    CloseHandle(CreateFileA(game.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetLocalStamp(game, t + 1);
    EXPECT_EQ(RunSwitch("/reapply"), Exited(1)); // no order saved yet
    EXPECT_EQ(RunSwitch("/UNDO"), Exited(1));    // nothing to undo
    EXPECT_EQ(RunSwitch("/status"), Exited(1));
    {
        const AppDriver wrong("/sideways");
        const auto usage = wrong.AnswerMessageBox();
        ASSERT_TRUE(usage);
        EXPECT_EQ(usage->title, kTitle);
        EXPECT_EQ(usage->text.rfind("Usage: clutterwise.exe [/reapply | /undo | /status]\r\n", 0),
                  0u);
        EXPECT_EQ(wrong.WaitForExit(), 64u);
    }

    const AppDriver window;
    ProcessAll(window);
    ASSERT_TRUE(window.AnswerMessageBox());
    // On B's second, after it: the user's own folder comes first.
    EXPECT_GT(StampsOf(game).written, StampsOf(desktop / "B.lnk").written);
    EXPECT_LT(StampsOf(game).written, StampsOf(desktop / "C.lnk").written);
    const auto files = [&] { return FilesIn(journal); };
    const Texts made = files();
    EXPECT_EQ(RunSwitch("/status"), Exited(0));
    EXPECT_EQ(RunSwitch("/reapply"), Exited(0));
    EXPECT_EQ(files(), made) << "no run recorded, nothing logged";
    const std::string a = desktop / "A.lnk";
    const long long recreated = LocalSecondsNow() + 86400;
    SetLocalStamp(a, recreated);
    EXPECT_EQ(RunSwitch("/status"), Exited(3));
    const HANDLE hold =
        CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(RunSwitch("/reapply"), Exited(2));
    CloseHandle(hold);
    std::ifstream log(journal + "clutterwise.log", std::ios::binary);
    std::stringstream lines;
    lines << log.rdbuf();
    EXPECT_TRUE(std::regex_search(lines.str(),
                                  std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d /reapply: "
                                             "Error accessing [^\r]*\\\\A\\.lnk\r\n$")))
        << lines.str();
    const long long b = StampsOf(desktop / "B.lnk").written;
    EXPECT_EQ(RunSwitch("/reapply"), Exited(0));
    EXPECT_EQ(RunSwitch("/status"), Exited(0));
    EXPECT_LT(StampsOf(a).written, b);
    EXPECT_EQ(StampsOf(desktop / "B.lnk").written, b);

    EXPECT_EQ(FilesIn(desktop.Path()), (Texts{"A.lnk", "B.lnk", "C.lnk"}));

    // The elevated step's switch, beside the open window and without one of its own: the file a
    // run's request names gets the time planned. (What it refuses: AllUsersStepTest.)
    const TempFolder requests;
    const std::uint64_t now = cw::UtcNow(), clock = now - now % 10'000'000;
    const cw::StepRequest request{
        9,   cw::StepAction::Stamp,
        now, now,
        60,  {{"Game.url", 0, {0, 0, ExactTimesOf(game).written}, clock}}};
    const std::string path =
        requests.MakeFile("journal-000009.request.txt", *cw::WriteStepRequest(request));
    EXPECT_EQ(RunSwitch("/stamp-all-users \"" + path + "\""), Exited(0));
    EXPECT_EQ(ExactTimesOf(game), (ExactTimes{clock, clock, clock}));
    EXPECT_EQ(FilesIn(all), Texts{"Game.url"});
}
