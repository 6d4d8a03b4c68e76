#pragma once
// What the file system tells of a file or folder without opening it. No platform call here: the
// journal's text, which holds the times, is read and written anywhere.
#include "win32/Calendar.h"

#include <cstdint>

namespace cw {

// Creation, last-access and last-write time.
struct FileTimes {
    FileTimeValue created = 0, accessed = 0, written = 0;
    friend bool operator==(const FileTimes&, const FileTimes&) = default;
};

struct FileInfo {
    std::uint32_t attributes = 0; // FILE_ATTRIBUTE_* bits
    std::uint64_t size = 0;
    FileTimes times;
    bool IsFolder() const { return (attributes & 0x10) != 0; } // FILE_ATTRIBUTE_DIRECTORY
};

} // namespace cw
