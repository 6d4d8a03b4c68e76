#pragma once
// Single file-system actions on paths of any length, each reporting through its result.
#include "fs/FileInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cw {

// Kind, size and times of a path, read without opening it; nothing when there is no such path.
std::optional<FileInfo> FileInfoOf(const std::string& path);
// The attribute bits, or INVALID_FILE_ATTRIBUTES (all bits set) when the path cannot be read.
std::uint32_t AttributesOf(const std::string& path);
bool SetAttributes(const std::string& path, std::uint32_t attributes);

// The whole content of a file of at most `limit` bytes; nothing when it cannot be read or is
// larger.
std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t limit);
// Appends `line` and a line end, making the file if need be. Others may read and append meanwhile.
bool AppendLine(const std::string& path, std::string_view line);

// One folder, whose parent must exist.
bool MakeFolder(const std::string& folder);
// `folder` with every folder above it that is missing; true when it is a folder afterwards.
bool MakeFolderChain(const std::string& folder);
bool RemoveFolderAt(const std::string& folder);

bool RemoveFileAt(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to); // over a file `to`
bool RenameTo(const std::string& from, const std::string& to);   // never over anything
// Renames through to the disk before it returns: over a file `to` when `replace`, else that fails
// with ERROR_ALREADY_EXISTS. The platform's error code, 0 when done.
std::uint32_t RenameDurably(const std::string& from, const std::string& to, bool replace);

} // namespace cw
