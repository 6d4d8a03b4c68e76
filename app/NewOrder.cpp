#include "app/NewOrder.h"

#include "app/DesktopItems.h"
#include "fs/FileSystem.h"
#include "fs/GuardedStamp.h"
#include "win32/DateTime.h"
#include "win32/FileTime.h"
#include "win32/Trace.h"

#include <memory>

namespace cw {

void StampNewOrder(const FileSystem& fs, const DesktopFolders& folders,
                   const std::vector<OrderRow>& rows, std::int16_t step,
                   const std::function<void(const std::string& path)>& reportFailure,
                   const StampHooks& hooks) {
    const TraceStep trace("stamp", std::to_string(rows.size()));
    // Looking for a file that is not there can cost a read of the whole folder (Wine does that for
    // every name it does not find), and most desktops hold no ".pif" at all: look once for any,
    // unless the caller's own listing answers which files are there.
    bool anyPif[2] = {static_cast<bool>(hooks.isFile), static_cast<bool>(hooks.isFile)};
    if (!hooks.isFile)
        for (const bool allUsers : {false, true})
            anyPif[allUsers] = !folders.Of(allUsers).empty() &&
                               !fs.ListFiles(folders.Of(allUsers), "*.pif").empty();
    // The all-users desktop is held open while its files are stamped.
    std::unique_ptr<GuardedStamp> guarded;

    std::string path;
    for (size_t row = 0; row < rows.size(); ++row) {
        const bool allUsers = rows[row].allUsers;
        const std::string& folder = folders.Of(allUsers);
        for (const bool shortcut : {true, false}) {
            if (!shortcut && !anyPif[allUsers])
                continue;
            const std::string name = shortcut ? rows[row].name : PifOf(rows[row].name);
            path.assign(folder).append(name);
            // A shortcut gone since the scan (or a folder in its place) would leave the order
            // wrong without a word; a row need not have a ".pif".
            if (folder.empty() || !(hooks.isFile ? hooks.isFile(path) : fs.IsFile(path))) {
                if (shortcut && reportFailure)
                    reportFailure(path);
                continue;
            }
            // The clock is read for each file, so a long run stays close to the real time.
            const std::int64_t offset = RowOffsetSeconds(step, static_cast<std::int32_t>(row));
            const DateTime stamp = AddSeconds(Now(), offset);
            bool done = false;
            if (!allUsers) {
                done = fs.SetFileDateTime(path, stamp);
            } else if (const auto time = FileTimeOfLocal(stamp)) {
                if (!guarded)
                    guarded = std::make_unique<GuardedStamp>(folders.allUsers);
                const StampReason reason = guarded->Stamp(name, {*time, *time, *time});
                done = reason == StampReason::Stamped;
                if (reason == StampReason::AccessDenied && hooks.refused) {
                    hooks.refused(path, stamp);
                    continue;
                }
            }
            if (!done) {
                if (reportFailure)
                    reportFailure(path);
            } else if (hooks.stamped) {
                hooks.stamped(path, stamp);
            }
        }
    }
}

} // namespace cw
