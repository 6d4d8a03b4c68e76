#pragma once
// The desktop scan's records and the rules the main window applies to its two lists, kept free of
// windows so that tests and the benchmark call them directly.
#include <cstdint>
#include <string>
#include <vector>

namespace cw {

class FileSystem;

// One shortcut found by a scan.
struct DesktopItem {
    std::string File;          // full path: the folder and the file's name
    std::string Title;         // file name without folder and without ".lnk"
    long long Stamp = 0;       // last-write time, whole seconds since 1601 (UTC), from the listing
    std::uint64_t Written = 0; // the same to the 100 ns
};

// Every shortcut of `folder` (ending in a backslash), oldest first by whole seconds; stamps
// within the same second keep the folder's own order. The times are the values the listing
// reports, never their text (which the user's formats may not carry back to the same second).
std::vector<DesktopItem> ScanDesktopItems(const FileSystem& fs, const std::string& folder);

// The rows a list shows for the records, in their order.
std::vector<std::string> Titles(std::vector<DesktopItem> items);

// "12 current items / 0 selected " and the like; `noun` is "current item" or "new item".
std::string ListStatusText(int rows, int selected, const std::string& noun);

// Seconds added to the current time for row `row` of the new order (step +60 or -60). Wide
// arithmetic: every row a list can hold (up to 32,767) gets its offset.
inline std::int64_t RowOffsetSeconds(std::int16_t step, std::int32_t row) {
    return static_cast<std::int64_t>(step) * row;
}

} // namespace cw
