#pragma once
// The start-up decisions of the main window, as plain functions.
#include <string>

namespace cw {

// Message boxes carry the company name from the version information, a blank and "Clutterwise".
std::string ProgramTitle(const std::string& companyName);

// A desktop folder path (after AddFolderBackslash) of at most one character, "" or a lone
// backslash, means no desktop folder could be found.
bool IsUsableDesktopFolder(const std::string& folder);

} // namespace cw
