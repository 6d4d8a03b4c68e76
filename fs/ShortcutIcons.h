#pragma once
// The icon the shell shows for a desktop item, found in two steps so that items with the same icon
// share one: where it comes from (a source), then the icon of that source at a size. Both need COM
// on the calling thread (the icon worker's thread has it).
//
// A source is "<file>,<index>" (an icon in a file, the shell's own notation) or "#<n>" (entry n of
// the system image list, for a kind of file or a shell item).
#include "win32/Handles.h"

#include <string>

namespace cw {

// Where the icon of a ".lnk" or ".url" file comes from: the link's own icon or its target's (a
// target that is gone, or on a drive that is missing, removable or on the network, gives the icon
// of its kind without being opened); the Internet shortcut's IconFile, or the icon of its kind.
// Reads the item through one handle and leaves its last-access time as it was where that handle
// may set it (Windows keeps it through the handle; Wine, which does not, gets it put back). Any
// other file gives the icon of its kind without being opened. "" when the item cannot be read.
std::string IconSourceOf(const std::string& item);

// The icon of a source, `size` pixels square: from the file at that size where it holds one near
// it, else from the system image list scaled. Null when there is none.
OwnedIcon IconOfSource(const std::string& source, int size);

} // namespace cw
