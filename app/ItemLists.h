#pragma once
// The rows of the two item lists, worked on through the list boxes' own windows so that the main
// window and the benchmark share one code path. A null window stands for an empty list.
#include <windows.h>

#include <string>
#include <vector>

namespace cw {

// Empties the list and appends `rows` in order, repainting once at the end.
void ReplaceRows(HWND list, const std::vector<std::string>& rows);

// Every row's text, top to bottom.
std::vector<std::string> ReadRows(HWND list);

// Puts the selected rows of `source`, in their order and unselected, into `target` before its row
// `at` (at its end for -1 or a row beyond it) and removes them from `source`; the rows left behind
// keep their order.
void MoveSelectedRows(HWND source, HWND target, int at = -1);

} // namespace cw
