#include "app/NewOrder.h"

#include "app/DesktopItems.h"
#include "fs/FileSystem.h"
#include "win32/DateTime.h"
#include "win32/Errors.h"
#include "win32/Trace.h"

namespace cw {

void StampNewOrder(const FileSystem& fs, const std::string& folder,
                   const std::vector<std::string>& rows, std::int16_t step,
                   const std::function<void(const std::string& path)>& reportFailure) {
    const TraceStep trace("stamp", std::to_string(rows.size()));
    // Looking for a file that is not there can cost a read of the whole folder (Wine does that for
    // every name it does not find), and most desktops hold no ".pif" at all: look once for any.
    int16_t pifCount = 0;
    std::vector<std::string> pifs;
    try {
        fs.EnumerateFiles(folder, 0, pifCount, pifs, "*.pif");
    } catch (const OverflowError&) {
        pifCount = 1; // more than a list holds: check every row
    }

    std::string path;
    for (size_t row = 0; row < rows.size(); ++row) {
        for (const char* extension : kRowExtensions) {
            if (pifCount == 0 && extension == kRowExtensions[1])
                continue;
            path.assign(folder).append(rows[row]).append(extension);
            // A row's shortcut is nearly always there: it is stamped first and looked for only
            // when that fails (a look at every one cost a sixth of the run). A ".pif" mostly is
            // not, and a failed open costs as much as the look, so it is looked for first.
            const bool shortcut = extension == kRowExtensions[0];
            if (!shortcut && !fs.IsFile(path))
                continue;
            // The clock is read for each file, so a long run stays close to the real time.
            const std::int64_t offset = RowOffsetSeconds(step, static_cast<std::int32_t>(row));
            if (!fs.SetFileDateTime(path, AddSeconds(Now(), offset)) &&
                (!shortcut || fs.IsFile(path)) && reportFailure)
                reportFailure(path);
        }
    }
}

} // namespace cw
