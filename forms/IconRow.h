#pragma once
// A list row that shows its item's icon before its text, drawn by the owner of a list box that
// keeps its rows' texts (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS): screen readers, typing a first
// letter and every reader of the rows go on working with the texts.
#include <windows.h>

#include <string_view>

namespace cw {

// A row's icon at a scale: 16 pixels at 96 dpi, 24 at 144, 32 at 192.
int IconSizeForDpi(int dpi);
// A row's height in the list's font (the answer to WM_MEASUREITEM, and to LB_SETITEMHEIGHT when
// the font or the scale changes): the taller of text and icon, with a little room.
int IconRowHeight(HFONT font, int dpi);
// Gives a list's rows that height in the list's own font, and draws them again.
void FitIconRows(HWND list, int dpi);

struct IconRow {
    std::string_view text;
    HICON icon = nullptr;  // null while it is not known: a neutral placeholder stands in
    bool allUsers = false; // a small mark beside the icon
    int column = 0;        // 2, 3, ...: a thin rule across the top with this number; 0 for none
};

// Draws the row of a WM_DRAWITEM in the list's font, selected and focused as the system's list
// box draws its rows. The whole row is drawn for every action, so the focus rectangle is never
// left to an exclusive-or of an earlier drawing.
void DrawIconRow(const DRAWITEMSTRUCT& item, const IconRow& row, int dpi);

// The rows a list box shows now, a partly shown last one included.
struct RowSpan {
    int first = 0;
    int count = 0;
};
RowSpan VisibleRows(HWND list);

} // namespace cw
