#include "app/Startup.h"

namespace cw {

std::string ProgramTitle(const std::string& companyName) {
    return companyName.empty() ? "Clutterwise" : companyName + " Clutterwise";
}

bool IsUsableDesktopFolder(const std::string& folder) {
    return folder.size() > 1;
}

} // namespace cw
