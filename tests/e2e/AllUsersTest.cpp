// The desktop of all users with the real program: the elevated step's switch on a request of a
// run (as root, where Wine lets every write through), and a run whose files there Windows refuses
// (AllUsersAsUser: started by tests/e2e/all-users-question.sh as an unprivileged user, on files
// root owns).
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/StepOutcome.h"
#include "app/StepRequest.h"
#include "fs/FileActions.h"
#include "win32/FileTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;
constexpr std::uint64_t kSecond = 10'000'000;

// An Internet shortcut as the shell writes one.
std::string MakeShortcut(const std::string& path) {
    std::ofstream(path, std::ios::binary)
        << "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n[InternetShortcut]\r\n"
           "IDList=\r\nURL=https://example.com/game\r\nIconIndex=0\r\nIconFile=C:\\game.ico\r\n";
    return path;
}

} // namespace

// What the unelevated program hands the step: the step, started by its switch before any window,
// stamps exactly the files asked, to the times planned, and says so in the outcome. (What it
// refuses: AllUsersStepTest.)
TEST(AllUsersStep, TheSwitchStampsWhatARunAsksAndNothingElse) {
    const std::string all = EmptyAllUsersDesktop() + "\\";
    const long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"Game.url", "Game.pif", "ゲーム.lnk", "Other.lnk"})
        SetLocalStamp(MakeShortcut(all + name), t);
    const TempFolder journal;
    const std::uint64_t now = cw::UtcNow();
    cw::StepRequest request;
    request.run = 5;
    request.started = now - kSecond;
    request.until = now;
    const std::uint64_t clock = request.started - request.started % kSecond;
    const cw::StampTimes original{0, 0, ExactTimesOf(all + "Game.url").written};
    for (const auto& [name, row] : {std::pair{"Game.url", 0}, {"Game.pif", 0}, {"ゲーム.lnk", 1}})
        request.files.push_back(
            {name, row, original, clock + static_cast<std::uint64_t>(row) * 60 * kSecond});
    const std::string path =
        journal.MakeFile("journal-000005.request.txt", cw::WriteStepRequest(request).value());
    const std::map<std::string, ExactTimes> before = FolderTimes(all);

    EXPECT_EQ(RunSwitch("/stamp-all-users \"" + path + "\""),
              (std::pair<std::optional<DWORD>, bool>{0, false}));
    const auto outcome =
        cw::ReadStepOutcome(*cw::ReadWholeFile(journal / "journal-000005.outcome.txt", 1 << 16));
    EXPECT_EQ(outcome,
              (cw::StepOutcome{5, {}, {{"Game.url"}, {"Game.pif"}, {"ゲーム.lnk"}}, true}));
    for (const cw::StepFile& file : request.files)
        EXPECT_EQ(ExactTimesOf(all + file.name),
                  (ExactTimes{*file.stamp, *file.stamp, *file.stamp}))
            << file.name;
    EXPECT_EQ(ExactTimesOf(all + "Other.lnk"), before.at("Other.lnk"));
    EXPECT_EQ(FolderTimes(all).size(), before.size());
}

// Run as a user Windows refuses the all-users desktop (its files root's): the user's own
// shortcuts are stamped, then one question; No leaves the others and the closing box names them,
// never the plain success text. Yes starts the elevated copy, which Wine starts as the same user:
// refused again, they are named again.
TEST(AllUsersAsUser, AsksOnceAndNamesWhatWasNotStamped) {
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"Mine.lnk", "Mine.url"})
        SetLocalStamp(MakeShortcut(desktop / name), t);
    const DesktopRedirect redirect(desktop.Path(), false);
    const std::string question = "3 shortcuts on the desktop of all users need administrator "
                                 "rights to be re-stamped. Ask Windows for them now?";
    // The same second for all three: in the folder's own order, which Wine does not fix.
    const std::string named = "3 shortcuts on the desktop of all users were not stamped, as "
                              "Windows did not give the rights:";
    const Texts names{"Root owned.lnk", "Web.url", "日本語.lnk"};
    const AppDriver program;
    for (const int answer : {IDNO, IDYES}) {
        const HWND main = program.WaitForWindow(kTitle);
        ASSERT_NE(main, nullptr);
        SendMessageA(Children(main, "Button", "Refresh").at(0), BM_CLICK, 0, 0);
        ASSERT_TRUE(MoveAll(main));
        ClickButton(main, "Process");
        // A link planted there is no shortcut of that folder: named as any file not stamped.
        Texts boxes;
        const auto choose = [&](const AnsweredBox& box) {
            return box.text == question ? answer : IDOK;
        };
        // Up to the closing box, the one after the question.
        while (const auto box = program.AnswerMessageBox(60000, choose)) {
            boxes.push_back(box->text);
            if (boxes.size() >= 4 || (boxes.size() >= 2 && boxes[boxes.size() - 2] == question))
                break;
        }
        const auto asked = std::find(boxes.begin(), boxes.end(), question);
        ASSERT_NE(asked, boxes.end()) << answer;
        Texts lines;
        for (size_t at = 0, end = 0; end != std::string::npos; at = end + 2)
            lines.push_back(boxes.back().substr(at, (end = boxes.back().find("\r\n", at)) - at));
        EXPECT_EQ(lines.front(), named) << answer;
        lines.erase(lines.begin());
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ(lines, names) << answer;
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), question), 1);
        EXPECT_NE(StampsOf(desktop / "Mine.lnk").written, t) << answer;
        EXPECT_NE(StampsOf(desktop / "Mine.url").written, t) << answer;
    }
}
