#pragma once
// Lets the user rearrange the rows of a multi-select list box with the keyboard and the mouse:
//
// - Alt+Up and Alt+Down move the selected rows one place, Alt+Home and Alt+End to the top and the
//   bottom (see RowMoves); the selection, the caret and the anchor stay with the moved rows, which
//   are scrolled into view.
// - Selected rows dragged with the left button go where they are dropped. A line shows the place
//   while dragging, and the list scrolls while the pointer is held near its top or bottom edge.
//   Escape cancels the drag; a press and release without movement stays an ordinary click.
// - Selected rows of a feeding list dragged into the list are dropped there (Dropped); a drop below
//   the last row means after it.
// - Ctrl+A selects every row of either list, told to the form as a selection change.
//
// It hooks both lists' windows (one link each in their subclass chains) until it is destroyed or
// the windows are.
#include "forms/ListBox.h"
#include "win32/WindowHook.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace cw {

enum class RowMove;

class ListReorder {
public:
    explicit ListReorder(ListBox& list, ListBox* feeder = nullptr);
    ~ListReorder();
    ListReorder(const ListReorder&) = delete;
    ListReorder& operator=(const ListReorder&) = delete;

    // The list's rows moved by a key or a drag.
    std::function<void()> Moved;
    // The feeder's selected rows were dropped before row `at` of the list.
    std::function<void(int at)> Dropped;

    // The row boundary a drop at this client point of the list goes to, or -1 outside the list.
    int DropPlace(POINT client) const;

private:
    struct Drag {
        HWND source = nullptr; // the list the press was on; null without a press
        POINT start{};         // screen
        WPARAM keys = 0;       // the press, to hand on as a click when the pointer did not move
        LPARAM at = 0;
        bool moving = false;
        int dropAt = -1;
    };

    LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Press(HWND hwnd, WPARAM keys, LPARAM at);
    void Track(POINT screen);
    void Release(HWND hwnd, LPARAM at);
    void EndDrag();
    void AutoScroll();
    void ShowDropAt(int at);
    RECT LineRect(int at) const;
    void DrawLine() const;
    void Move(RowMove move);
    void Rearrange(const std::vector<int>& selected, const std::vector<int>& order,
                   bool leadIsFirst);
    static void SelectAll(HWND list);

    HWND list_;
    HWND feeder_;
    Drag drag_;
    WindowHook listHook_, feederHook_;
};

} // namespace cw
