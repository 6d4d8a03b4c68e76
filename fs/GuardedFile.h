#pragma once
// Files that one process hands to another through a folder that neither fully trusts: read only
// when they are plain files of a bounded size, written only as new files that nothing planted
// beforehand can redirect.
#include "win32/Handles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cw {

enum class ReadFault {
    None,
    Missing,  // no such file, or its folder is missing
    NotAFile, // a folder, a device, a pipe, a reparse point
    TooLarge, // larger than the reader's cap: nothing of it was read
    Unreadable,
};

struct GuardedRead {
    std::string text;
    ReadFault fault = ReadFault::None;
};

class GuardedFile {
public:
    // The whole of the plain file `path` (UTF-8, any length), when it holds at most `maxBytes`.
    static GuardedRead Read(const std::string& path, std::uint64_t maxBytes);

    // Creates `path` for writing; it must not exist (a file or link of that name is an error,
    // never followed), and its folder must be reached without a link on the way: its final path
    // is the path given. Not open (false) otherwise.
    explicit GuardedFile(const std::string& path);

    explicit operator bool() const { return static_cast<bool>(file_); }
    bool Append(std::string_view text);
    // Flushes what was written to the disk; false when any write failed.
    bool Finish();

private:
    KernelHandle folder_; // held without delete sharing while the file is written
    KernelHandle file_;
    bool failed_ = false;
};

} // namespace cw
