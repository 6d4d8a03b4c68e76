#pragma once
// The words of the information box that ends a run (Process, Reapply Order, Undo), and of the one
// shown instead of a reapply when nothing had moved.

namespace cw {

constexpr const char* kDesktopShowsOrder = "The desktop now shows your order.";
// Where the shell's view of the desktop could not be asked to sort by date.
constexpr const char* kSortByDateByHand =
    "Right-click a blank area of the desktop, choose \"Sort by\", then \"Date modified\".";
constexpr const char* kAlreadyInOrder = "The desktop is already in your order.";

// `desktopSorted`: what Desktop::SortByDate answered.
constexpr const char* FinalBoxText(bool desktopSorted) {
    return desktopSorted ? kDesktopShowsOrder : kSortByDateByHand;
}

} // namespace cw
