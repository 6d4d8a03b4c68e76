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

void SetDesktop(const std::string& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Desktop", REG_EXPAND_SZ, value.c_str(),
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
    char buffer[1024];
    DWORD size = sizeof buffer;
    hadPrevious_ = RegGetValueA(HKEY_CURRENT_USER, kKey, "Desktop",
                                RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                                buffer, &size) == ERROR_SUCCESS;
    if (hadPrevious_)
        previous_ = buffer;
    SetDesktop(folder);
}

DesktopRedirect::~DesktopRedirect() {
    if (hadPrevious_)
        SetDesktop(previous_);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "Desktop");
}

} // namespace cwtest
