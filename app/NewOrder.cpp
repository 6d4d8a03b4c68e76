#include "NewOrder.h"

#include "DateTime.h"
#include "DesktopItems.h"
#include "FileSystem.h"

namespace cw {

void StampNewOrder(const FileSystem& fs, const std::string& folder,
                   const std::vector<std::string>& rows, std::int16_t step,
                   const std::function<void(const std::string& path)>& reportFailure) {
    std::string path;
    for (size_t row = 0; row < rows.size(); ++row) {
        for (const char* extension : kRowExtensions) {
            path.assign(folder).append(rows[row]).append(extension);
            if (!fs.IsFile(path))
                continue;
            // The clock is read for each file, so a long run stays close to the real time.
            const std::int64_t offset = RowOffsetSeconds(step, static_cast<std::int32_t>(row));
            if (!fs.SetFileDateTime(path, AddSeconds(Now(), offset)) && reportFailure)
                reportFailure(path);
        }
    }
}

} // namespace cw
