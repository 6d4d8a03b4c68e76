// The desktop of all users with the real program, run by tests/app/all-users-refused.sh as an
// unprivileged user on files root owns there: Windows refuses them, as it refuses a user who is
// no administrator.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace cwtest;

// The user's own shortcuts are stamped, then one question; No leaves the others and the closing
// box names them, never the plain success text. Yes starts the elevated copy, which Wine starts as
// the same user: refused again, they are named again.
TEST(AllUsersAsUser, AsksOnceAndNamesWhatWasNotStamped) {
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    // The Internet shortcut as the shell writes one.
    SetLocalStamp(desktop.MakeFile("Mine.url", "[InternetShortcut]\r\nURL=https://example.com/\r\n"
                                               "IconIndex=0\r\nIconFile=C:\\game.ico\r\n"),
                  t);
    SetLocalStamp(desktop.MakeFile("Mine.lnk"), t);
    const DesktopRedirect redirect(desktop.Path(), false);
    const std::string question = "3 shortcuts on the desktop of all users need administrator "
                                 "rights to be re-stamped. Ask Windows for them now?";
    const std::string named = "3 shortcuts on the desktop of all users were not stamped, as "
                              "they need administrator rights:";
    const Texts names{"Root owned.lnk", "Web.url", "日本語.lnk"};
    const AppDriver program;
    for (const int answer : {IDNO, IDYES}) {
        const HWND main = program.WaitForWindow(kTitle);
        ASSERT_NE(main, nullptr);
        SendMessageA(Children(main, "Button", "Refresh").at(0), BM_CLICK, 0, 0);
        ASSERT_TRUE(MoveAll(main));
        ClickButton(main, "Process");
        // A link planted there (to a file of the user's) is refused on its own, with its own box.
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
        ASSERT_NE(std::find(boxes.begin(), boxes.end(), question), boxes.end()) << answer;
        Texts lines;
        for (size_t at = 0, end = 0; end != std::string::npos; at = end + 2)
            lines.push_back(boxes.back().substr(at, (end = boxes.back().find("\r\n", at)) - at));
        EXPECT_EQ(lines.front(), named) << answer;
        lines.erase(lines.begin());
        // Then, after a blank line, how to sort the desktop by hand (Wine's view cannot be asked).
        lines.erase(std::find(lines.begin(), lines.end(), ""), lines.end());
        std::sort(lines.begin(), lines.end()); // one second for all: in the folder's order
        EXPECT_EQ(lines, names) << answer;
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), question), 1);
        EXPECT_NE(StampsOf(desktop / "Mine.lnk").written, t) << answer;
        EXPECT_NE(StampsOf(desktop / "Mine.url").written, t) << answer;
    }
}
