#include "app/DesktopItems.h"

#include "fs/FileSystem.h"

#include <algorithm>

namespace cw {

std::vector<DesktopItem> ScanDesktopItems(const FileSystem& fs, const std::string& folder) {
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    std::vector<DesktopItem> items;
    for (FileEntry& file : fs.ListFiles(folder, "*.lnk")) {
        std::string title = file.name.substr(0, file.name.size() - 4);
        items.push_back({folder + file.name, std::move(title),
                         static_cast<long long>(file.lastWrite / kTicksPerSecond)});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const DesktopItem& a, const DesktopItem& b) { return a.Stamp < b.Stamp; });
    return items;
}

std::vector<std::string> Titles(std::vector<DesktopItem> items) {
    std::vector<std::string> titles;
    titles.reserve(items.size());
    for (DesktopItem& item : items)
        titles.push_back(std::move(item.Title));
    return titles;
}

std::string ListStatusText(int rows, int selected, const std::string& noun) {
    return std::to_string(rows) + " " + noun + (rows == 1 ? "" : "s") + " / " +
           std::to_string(selected) + " selected ";
}

} // namespace cw
