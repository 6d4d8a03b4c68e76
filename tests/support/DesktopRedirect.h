#pragma once
// Points the shell's Desktop folder of the private prefix at another folder for one test and
// puts the previous setting back afterwards; the prefix's desktop of all users, which the program
// lists too, is emptied of shortcuts (what a sample desktop or another test left there), or
// pointed at a folder of its own the same way. Tests that use it hold the CTest lock "desktop".
#include <string>

namespace cwtest {

// Removes the ".lnk", ".url" and ".pif" files of the prefix's desktop of all users, only when that
// folder lies inside the prefix; the folder's path.
std::string EmptyAllUsersDesktop();

class DesktopRedirect {
public:
    // `emptyAllUsers` false: the desktop of all users is the test's own set-up.
    explicit DesktopRedirect(const std::string& folder, bool emptyAllUsers = true);
    // Both desktops pointed: the user's at `folder`, the desktop of all users at `allUsers`.
    DesktopRedirect(const std::string& folder, const std::string& allUsers);
    ~DesktopRedirect();
    DesktopRedirect(const DesktopRedirect&) = delete;
    DesktopRedirect& operator=(const DesktopRedirect&) = delete;

private:
    void Point(bool allUsers, const std::string& folder);

    struct Previous {
        bool pointed = false, had = false;
        std::string value;
    } previous_[2]; // the user's, then the desktop of all users
};

} // namespace cwtest
