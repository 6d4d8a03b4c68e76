#pragma once
// Points the shell's Desktop folder of the private prefix at another folder for one test and
// puts the previous setting back afterwards; the prefix's desktop of all users, which the program
// lists too, is emptied of shortcuts (what a sample desktop or another test left there). Tests
// that use it hold the CTest lock "desktop".
#include <string>

namespace cwtest {

// Removes the ".lnk", ".url" and ".pif" files of the prefix's desktop of all users, only when that
// folder lies inside the prefix; the folder's path.
std::string EmptyAllUsersDesktop();

class DesktopRedirect {
public:
    // `emptyAllUsers` false: the desktop of all users is the test's own set-up.
    explicit DesktopRedirect(const std::string& folder, bool emptyAllUsers = true);
    ~DesktopRedirect();
    DesktopRedirect(const DesktopRedirect&) = delete;
    DesktopRedirect& operator=(const DesktopRedirect&) = delete;

private:
    std::string previous_;
    bool hadPrevious_ = false;
};

} // namespace cwtest
