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
    std::string File;     // full path, as the enumeration delivered it
    std::string Title;    // file name without folder and without ".lnk"
    std::string DateTime; // last-write time as text; "" when it could not be read
};

// The shortcuts of `folder` (ending in a backslash), oldest first by whole seconds. Stamps within
// the same second keep the enumeration order; shortcuts whose stamp could not be read follow all
// the others, in enumeration order. Beyond the 32,767 shortcuts a list can hold, the rest are
// left out.
std::vector<DesktopItem> ScanDesktopItems(const FileSystem& fs, const std::string& folder);

// The rows a list shows for the records, in their order.
std::vector<std::string> Titles(std::vector<DesktopItem> items);

// Sorts records as ScanDesktopItems does, reading each time text once (a stable sort).
void SortByTimeStamp(std::vector<DesktopItem>& items);

// "12 current items / 0 selected " and the like; `noun` is "current item" or "new item".
std::string ListStatusText(int rows, int selected, const std::string& noun);

// Seconds added to the current time for row `row` of the new order (step +60 or -60). Wide
// arithmetic: every row a list can hold (up to 32,767) gets its offset.
inline std::int64_t RowOffsetSeconds(std::int16_t step, std::int32_t row) {
    return static_cast<std::int64_t>(step) * row;
}

} // namespace cw
