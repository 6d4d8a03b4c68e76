#pragma once
// The window-free arithmetic of rearranging a list's selected rows. Each result is the list's new
// order as the rows' old indices: order[new index] = old index.
#include <vector>

namespace cw {

enum class RowMove { Up, Down, Top, Bottom };

// Moves the selected rows (ascending indices below `count`) one place up or down, or to the top or
// the bottom, keeping their order. A block of selected rows moves together; a row held by the edge,
// or by selected rows already at the edge, stays put.
std::vector<int> MovedOrder(int count, const std::vector<int>& selected, RowMove move);

// Takes the selected rows out and puts them back, in their order, before row `at` of the list as
// it was (`at` == count: after the last row).
std::vector<int> DroppedOrder(int count, const std::vector<int>& selected, int at);

} // namespace cw
