#include "app/DesktopItems.h"

#include "fs/FileSystem.h"
#include "win32/DateTime.h"
#include "win32/Errors.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace cw {

std::vector<DesktopItem> ScanDesktopItems(const FileSystem& fs, const std::string& folder) {
    int16_t count = 0;
    std::vector<std::string> files;
    try {
        fs.EnumerateFiles(folder, 0, count, files, "*.lnk");
    } catch (const OverflowError&) {
        // More shortcuts than a list can hold: the first 32,767 found are listed.
    }

    std::vector<DesktopItem> items;
    items.reserve(static_cast<size_t>(count));
    for (int16_t i = 0; i < count; ++i) {
        std::string& file = files[static_cast<size_t>(i)];
        // The title is the last component of the path without its four-character extension.
        std::string title = fs.ExtractFileTitle(file.substr(0, file.size() - 4));
        std::string stamp = fs.GetFileDateTime(file);
        items.push_back({std::move(file), std::move(title), std::move(stamp)});
    }
    SortByTimeStamp(items);
    return items;
}

std::vector<std::string> Titles(std::vector<DesktopItem> items) {
    std::vector<std::string> titles;
    titles.reserve(items.size());
    for (DesktopItem& item : items)
        titles.push_back(std::move(item.Title));
    return titles;
}

void SortByTimeStamp(std::vector<DesktopItem>& items) {
    // Each text is read back once; an unreadable one sorts after every readable one.
    struct Key {
        bool unreadable;
        long long seconds;
    };
    std::vector<Key> keys;
    keys.reserve(items.size());
    for (const DesktopItem& item : items) {
        const std::optional<DateTime> value = ParseDateTime(item.DateTime);
        keys.push_back(value ? Key{false, SecondsBetween(0.0, *value)} : Key{true, 0});
    }
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a].unreadable != keys[b].unreadable)
            return keys[b].unreadable;
        return keys[a].seconds < keys[b].seconds;
    });
    std::vector<DesktopItem> sorted;
    sorted.reserve(items.size());
    for (const size_t i : order)
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

std::string ListStatusText(int rows, int selected, const std::string& noun) {
    return std::to_string(rows) + " " + noun + (rows == 1 ? "" : "s") + " / " +
           std::to_string(selected) + " selected ";
}

} // namespace cw
