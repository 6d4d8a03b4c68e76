#pragma once
// Turns the new order into file time stamps: the files of row i get the current local time plus
// step x i seconds, so that arranging the desktop by date shows the rows in their order.
#include "app/DesktopItems.h"
#include "app/PlannedFiles.h"
#include "win32/DateTime.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cw {

class FileSystem;

// Seconds between neighbouring rows.
constexpr std::int16_t kStepAscending = 60;
constexpr std::int16_t kStepDescending = -60;

// What a caller that keeps its own record of the run (the journal) tells the stamping and is told
// by it: whether a file is there, in place of asking the file system once more, and each stamp
// written; and where a file of the all-users desktop refused for want of rights goes (to the
// failures when not given).
struct StampHooks {
    std::function<bool(const std::string& path)> isFile;
    std::function<void(const std::string& path, DateTime stamp)> stamped;
    std::function<void(const std::string& path, DateTime stamp)> refused;
};

// Stamps the files of every row of `rows`: the row's own file in its folder of `folders` and the
// ".pif" of its title there. A row's file that is not there as a file, and a file whose stamp
// cannot be written, are passed to `reportFailure` (which may wait for the user) and the rest go
// on; a missing ".pif" is no failure. Files of the all-users desktop are stamped by the guarded
// stamp's rules. Rows keep their offsets whatever happens to the rows before them. Nothing is
// ever created.
void StampNewOrder(const FileSystem& fs, const DesktopFolders& folders,
                   const std::vector<OrderRow>& rows, std::int16_t step,
                   const std::function<void(const std::string& path)>& reportFailure,
                   const StampHooks& hooks = {});

} // namespace cw
