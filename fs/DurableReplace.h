#pragma once
// A file's whole content replaced so that a crash at any moment leaves either the old content or
// the new, never a torn file: the text goes to a temporary file beside it ("<file>.<process>.tmp"),
// is flushed to the disk, and that file is renamed over the file with write-through.
#include <cstdint>
#include <string>
#include <string_view>

namespace cw {

// The temporary file, written and flushed, waiting to be renamed into place. Let go without
// Commit (a failure between the two steps), it is removed and the file keeps its old content.
class PendingReplace {
public:
    PendingReplace(std::string path, std::string_view text);
    ~PendingReplace();
    PendingReplace(const PendingReplace&) = delete;
    PendingReplace& operator=(const PendingReplace&) = delete;

    // Whether the temporary file holds the whole text on disk.
    bool Written() const { return error_ == 0; }
    const std::string& TemporaryPath() const { return temporary_; }

    // Renames the temporary file into place; over a file already there only when `replace`, else
    // that fails with ERROR_ALREADY_EXISTS. The platform's error code, 0 when done.
    std::uint32_t Commit(bool replace = true);

private:
    std::string path_, temporary_;
    std::uint32_t error_ = 0;
    bool committed_ = false;
};

// Writes and commits in one step; the platform's error code, 0 when done.
std::uint32_t ReplaceDurably(const std::string& path, std::string_view text, bool replace = true);

} // namespace cw
