#pragma once
// The start-up decisions of the main window, as plain functions.
#include <string>

namespace cw {

class FileSystem;

// Message boxes carry the company name from the version information, a blank and "Clutterwise".
std::string ProgramTitle(const std::string& companyName);

// A desktop folder path (after AddFolderBackslash) of at most one character, "" or a lone
// backslash, means no desktop folder could be found.
bool IsUsableDesktopFolder(const std::string& folder);

// What to say when the desktop folder the shell names (`named`, as it gives it) cannot be used:
// "The desktop folder cannot be found.", naming the path where there is one; "" when it is there.
std::string MissingDesktopText(const FileSystem& fs, const std::string& named);

} // namespace cw
