#include "DesktopRedirect.h"

#include "UnixPath.h"
#include "fs/FileActions.h"
#include "fs/FolderListing.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

namespace cwtest {
namespace {

constexpr const char* kKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The user's Desktop, or the desktop of all users.
HKEY RootOf(bool allUsers) {
    return allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
const char* ValueOf(bool allUsers) {
    return allUsers ? "Common Desktop" : "Desktop";
}

void SetDesktop(bool allUsers, const std::string& value) {
    RegSetKeyValueA(RootOf(allUsers), kKey, ValueOf(allUsers), REG_EXPAND_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

} // namespace

std::string EmptyAllUsersDesktop() {
    char folder[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                                folder)))
        return {};
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string unixPath = UnixPathOf(folder);
    if (!prefix || !*prefix || unixPath.rfind(std::string(prefix) + "/", 0) != 0)
        return folder;
    for (const cw::FolderEntry& entry : cw::ListFolder(std::string(folder) + "\\"))
        for (const char* extension : {".lnk", ".url", ".pif"})
            if (!entry.info.IsFolder() && entry.name.size() > 4 &&
                lstrcmpiA(entry.name.c_str() + entry.name.size() - 4, extension) == 0)
                cw::RemoveFileAt(std::string(folder) + "\\" + entry.name);
    return folder;
}

DesktopRedirect::DesktopRedirect(const std::string& folder, bool emptyAllUsers) {
    if (emptyAllUsers)
        EmptyAllUsersDesktop();
    Point(false, folder);
}

DesktopRedirect::DesktopRedirect(const std::string& folder, const std::string& allUsers) {
    Point(false, folder);
    Point(true, allUsers);
}

void DesktopRedirect::Point(bool allUsers, const std::string& folder) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    Previous& previous = previous_[allUsers];
    previous.pointed = true;
    previous.had = RegGetValueA(RootOf(allUsers), kKey, ValueOf(allUsers),
                                RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                                buffer, &size) == ERROR_SUCCESS;
    if (previous.had)
        previous.value = buffer;
    SetDesktop(allUsers, folder);
}

DesktopRedirect::~DesktopRedirect() {
    for (const bool allUsers : {false, true}) {
        const Previous& previous = previous_[allUsers];
        if (previous.had)
            SetDesktop(allUsers, previous.value);
        else if (previous.pointed)
            RegDeleteKeyValueA(RootOf(allUsers), kKey, ValueOf(allUsers));
    }
}

} // namespace cwtest
