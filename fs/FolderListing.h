#pragma once
// One folder's entries from one search of the platform, each with what the search itself reports,
// so that listing opens no file (opening one could move its access time).
#include "fs/FileInfo.h"

#include <string>
#include <vector>

namespace cw {

struct FolderEntry {
    std::string name; // the entry's own name, never its short 8.3 form
    FileInfo info;
};

// The entries of `folder` (with or without its final backslash) whose names match `pattern` (the
// platform's wildcards), files and folders, "." and ".." left out, in the order the search
// delivers them. Any path length, no count limit; empty when the folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& pattern = "*");

} // namespace cw
