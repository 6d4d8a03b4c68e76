#pragma once
// One file or folder opened by its path (any length), closed with this object. Its times are read
// and set through the handle, so that a file is looked up once and stamped as it was read.
#include "fs/FileInfo.h"
#include "win32/Handles.h"

#include <cstdint>
#include <optional>
#include <string>

namespace cw {

class OpenedFile {
public:
    enum class Access {
        // Times and size. Others may read the file meanwhile but nobody may write it: a file
        // another program holds open for writing is neither read nor stamped.
        Read,
        Stamp, // as Read, but the times may be set
        // The content, from start to end. Others may read, write, rename or delete it meanwhile,
        // so that a reader never stops a writer that replaces the file.
        Contents,
    };

    // `folder`: the path names a folder, which the platform opens only when told.
    OpenedFile(const std::string& path, Access access, bool folder = false);

    explicit operator bool() const { return static_cast<bool>(handle_); }
    // The platform's error code of the failed open; 0 when it opened.
    std::uint32_t Error() const { return error_; }

    std::optional<FileTimes> Times() const;
    bool SetTimes(const FileTimes& times) const;
    std::optional<std::uint64_t> Size() const;
    // Fills `buffer` whole from byte `offset` on; false when the file ends before or cannot be
    // read.
    bool Read(std::uint64_t offset, std::string& buffer) const;

private:
    KernelHandle handle_;
    std::uint32_t error_ = 0;
};

} // namespace cw
