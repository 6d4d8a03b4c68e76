#include "app/DesktopItems.h"

#include "fs/FileSystem.h"

#include <windows.h>

#include <algorithm>

namespace cw {
namespace {

// The search's "*.lnk" also matches names whose short 8.3 form ends in ".LNK" ("Report.lnk2" is
// "REPORT~1.LNK"): only a name that itself ends in ".lnk", in any case, is a shortcut.
bool IsShortcutName(const std::string& name) {
    return name.size() >= 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".lnk") == 0;
}

} // namespace

std::vector<DesktopItem> ScanDesktopItems(const FileSystem& fs, const std::string& folder) {
    std::vector<DesktopItem> items;
    for (FileEntry& file : fs.ListFiles(folder, "*.lnk")) {
        if (!IsShortcutName(file.name))
            continue;
        std::string title = file.name.substr(0, file.name.size() - 4);
        items.push_back({folder + file.name, std::move(title),
                         static_cast<long long>(file.lastWrite / kTicksPerSecond), file.lastWrite});
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
