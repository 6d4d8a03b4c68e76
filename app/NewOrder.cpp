#include "app/NewOrder.h"

#include "app/DesktopItems.h"
#include "fs/FileSystem.h"
#include "win32/DateTime.h"
#include "win32/Trace.h"

#include <cstring>

namespace cw {

void StampNewOrder(const FileSystem& fs, const std::string& folder,
                   const std::vector<std::string>& rows, std::int16_t step,
                   const std::function<void(const std::string& path)>& reportFailure,
                   const StampHooks& hooks) {
    const TraceStep trace("stamp", std::to_string(rows.size()));
    // Looking for a file that is not there can cost a read of the whole folder (Wine does that for
    // every name it does not find), and most desktops hold no ".pif" at all: look once for any,
    // unless the caller's own listing answers which files are there.
    const bool anyPif = hooks.isFile || !fs.ListFiles(folder, "*.pif").empty();

    std::string path;
    for (size_t row = 0; row < rows.size(); ++row) {
        for (const char* extension : kRowExtensions) {
            // By text: the same literal may sit at another address in another file.
            const bool shortcut = std::strcmp(extension, kRowExtensions[0]) == 0;
            if (!shortcut && !anyPif)
                continue;
            path.assign(folder).append(rows[row]).append(extension);
            // A shortcut gone since the scan (or a folder in its place) would leave the order
            // wrong without a word; a row need not have a ".pif".
            if (!(hooks.isFile ? hooks.isFile(path) : fs.IsFile(path))) {
                if (shortcut && reportFailure)
                    reportFailure(path);
                continue;
            }
            // The clock is read for each file, so a long run stays close to the real time.
            const std::int64_t offset = RowOffsetSeconds(step, static_cast<std::int32_t>(row));
            const DateTime stamp = AddSeconds(Now(), offset);
            if (!fs.SetFileDateTime(path, stamp)) {
                if (reportFailure)
                    reportFailure(path);
            } else if (hooks.stamped) {
                hooks.stamped(path, stamp);
            }
        }
    }
}

} // namespace cw
