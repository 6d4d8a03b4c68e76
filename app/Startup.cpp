#include "app/Startup.h"

#include "fs/FileSystem.h"

namespace cw {

std::string ProgramTitle(const std::string& companyName) {
    return companyName.empty() ? "Clutterwise" : companyName + " Clutterwise";
}

bool IsUsableDesktopFolder(const std::string& folder) {
    return folder.size() > 1;
}

// Named but not there (a drive or share gone), or not named at all: an empty list, or a switch
// that stamps nothing, would say all is well.
std::string MissingDesktopText(const FileSystem& fs, const std::string& named) {
    if (IsUsableDesktopFolder(fs.AddFolderBackslash(named)) && fs.IsFolder(named))
        return {};
    return named.empty() ? "The desktop folder cannot be found."
                         : "The desktop folder " + named + " cannot be found.";
}

} // namespace cw
