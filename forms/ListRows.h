#pragma once
// Row work on a list box's window, shared by the list control, its reordering and the
// program's item lists.
#include <windows.h>

#include <string>
#include <vector>

namespace cw {

// A row message straight to the list box's own window procedure. Under Wine every link of a
// subclass chain made with SetWindowSubclass looks its window property up in the server for each
// message it passes on: through the hooks on a list, the row messages of a move of 10,000 rows
// took seconds (more on a busy machine) where the list itself needs milliseconds. No hook on a
// list acts on row or selection messages. A list of another thread gets them sent as usual.
LRESULT RowMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);

// The number of rows; 0 for no window.
int RowCount(HWND list);

// The text of a row; "" for a row outside the list.
std::string RowText(HWND list, int row);

// Inserts `rows` in order before row `at` (appends them for -1 or a row beyond the last), with
// the list's storage reserved up front; the caller holds the repainting back.
void InsertRows(HWND list, const std::vector<std::string>& rows, int at = -1);

// Selects the rows (ascending) in one pass: a message per run of adjacent rows.
void SelectRows(HWND list, const std::vector<int>& rows);

// The selected rows, ascending.
std::vector<int> SelectedRows(HWND list);

// Holds a list's repainting back for one scope, so that a bulk change paints once instead of
// once per row. A hidden list is left alone: turning redraw back on would show it.
class RedrawHold {
public:
    explicit RedrawHold(HWND list);
    ~RedrawHold();
    RedrawHold(const RedrawHold&) = delete;
    RedrawHold& operator=(const RedrawHold&) = delete;

private:
    HWND list_;
};

} // namespace cw
