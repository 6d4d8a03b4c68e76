// The desktop of all users with the real program, run by tests/app/all-users-refused.sh as an
// unprivileged user on files root owns there: Windows refuses them, as it refuses a user who is
// no administrator.
#include "AppDriver.h"
#include "app/Journal.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace cwtest;

// The user's own shortcuts are stamped, then one question; No leaves the others and the closing
// box names them, never the plain success text. Yes starts the elevated copy, which Wine starts as
// the same user: refused again, they are named again. Undo asks the same way.
TEST(AllUsersAsUser, AsksOnceAndNamesWhatWasNotStampedOrRestored) {
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    // The Internet shortcut as the shell writes one.
    desktop.MakeFile("Mine.url", "[InternetShortcut]\r\nURL=https://example.com/\r\nIconIndex=0\r\n"
                                 "IconFile=C:\\game.ico\r\n");
    desktop.MakeFile("Mine.lnk");
    const DesktopRedirect redirect(desktop.Path(), false);
    const std::string question = "3 shortcuts on the desktop of all users need administrator "
                                 "rights to be re-stamped. Ask Windows for them now?";
    const Texts named{"Root owned.lnk", "Web.url", "日本語.lnk"};
    const AppDriver program;
    const HWND main = program.WaitForWindow(kTitle);
    ASSERT_NE(main, nullptr);
    // Presses the button, answers the question and every other box (a link planted there is
    // refused with its own) up to the closing box, whose lines up to what to do by hand end with
    // how many were not `done` and their names (in the folder's order); returns the lines before.
    const auto closing = [&](const char* button, int answer, const std::string& done) {
        ClickButton(main, button);
        Texts boxes;
        const auto pick = [&](const AnsweredBox& b) { return b.text == question ? answer : IDOK; };
        while (const auto box = program.AnswerMessageBox(60000, pick)) {
            boxes.push_back(box->text);
            if (boxes.size() >= 4 || (boxes.size() >= 2 && boxes[boxes.size() - 2] == question))
                break;
        }
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), question), 1) << button << answer;
        Texts lines;
        for (size_t at = 0, end = 0; !boxes.empty() && end != std::string::npos; at = end + 2)
            lines.push_back(boxes.back().substr(at, (end = boxes.back().find("\r\n", at)) - at));
        lines.erase(std::find(lines.begin(), lines.end(), ""), lines.end());
        const auto count = std::find(lines.begin(), lines.end(),
                                     "3 shortcuts on the desktop of all users were not " + done +
                                         ", as they need administrator rights:");
        Texts names(count + (count != lines.end()), lines.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, named) << button << answer;
        return Texts(lines.begin(), count);
    };
    for (const int answer : {IDNO, IDYES}) {
        for (const char* name : {"Mine.lnk", "Mine.url"}) // each run finds them as they were
            SetLocalStamp(desktop / name, t);
        SendMessageA(Children(main, "Button", "Refresh").at(0), BM_CLICK, 0, 0);
        ASSERT_TRUE(MoveAll(main));
        EXPECT_EQ(closing("Process", answer, "stamped"), Texts{}) << answer;
        for (const char* name : {"Mine.lnk", "Mine.url"})
            EXPECT_NE(StampsOf(desktop / name).written, t) << name << answer;
    }

    // Undone as if an administrator's step had stamped the all-users files (Wine starts it as
    // this same user, who is refused), with times a day older to put back. No: the user's own
    // get theirs back, the others keep theirs (all-users-refused.sh checks) and stay to restore.
    cw::Journal journal(cw::Journal::UserFolder());
    journal.Load();
    cw::JournalRun* run = journal.ReadWhole(journal.LatestToUndo());
    ASSERT_TRUE(run);
    for (cw::JournalEntry& file : run->files)
        if (std::count(named.begin(), named.end(), file.path.substr(run->allUsersFolder.size()))) {
            file.stamped = file.original.written;
            file.original.written -= 864'000'000'000;
        }
    ASSERT_TRUE(journal.Save(*run));
    EXPECT_EQ(closing("Undo", IDNO, "restored"),
              (Texts{"Restored 3 of 6 shortcuts.", "3 shortcuts are still to restore: press Undo "
                                                   "again once they are free."}));
    for (const char* name : {"Mine.lnk", "Mine.url"})
        EXPECT_EQ(StampsOf(desktop / name).written, t) << name;
}
