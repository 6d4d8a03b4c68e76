#pragma once
// Where the desktop, sorted by date, starts each column of icons: it fills a column top to bottom,
// then the next one to its right, on the primary monitor. The shell's own icons that the user's
// settings show (Recycle Bin, This PC, ...) take the first places. Whichever way the desktop
// sorts, the new order's top row is its first icon, so the rules depend on the row count alone.
#include <vector>

namespace cw {

struct ColumnRule {
    int row = 0;    // the column starts at this row of the new order
    int column = 0; // its number: 2, 3, ...
    friend bool operator==(const ColumnRule&, const ColumnRule&) = default;
};

// Icons in one column: the work area's height (pixels at `screenDpi`) over the vertical icon
// spacing (pixels at `spacingDpi`); at least 1.
int IconsPerColumn(int workAreaHeight, int spacing, int spacingDpi, int screenDpi);

// The number of the column that starts at `row`; 0 where the row goes on a column.
int ColumnStartingAt(int row, int perColumn, int shellIcons);
// Every column start among `rows` rows, top to bottom.
std::vector<ColumnRule> ColumnRules(int rows, int perColumn, int shellIcons);

// The shell's own desktop icons that the user's settings show (the HideDesktopIcons values; where
// none is set, Windows 10 and 11 show the Recycle Bin alone).
int ShellIconsShown();

struct DesktopColumns {
    int perColumn = 1;
    int shellIcons = 0;
    bool fromIconView = false; // the desktop's icon view was asked (else the system's spacing)
};

// Asks the desktop's own icon view for its spacing where there is one, else takes the system's
// icon spacing; over the primary monitor's work area either way. Waits for no hung desktop.
DesktopColumns QueryDesktopColumns();

} // namespace cw
