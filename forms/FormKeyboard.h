#pragma once
// The keyboard on a form: the tab order and option groups made from the design's tab indexes,
// the dialog keys of the message loop (Tab, arrows, mnemonics, Enter and Escape), and the focus a
// form gives back when it is activated again.
#include "forms/Control.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace cw {

class OptionButton;

class FormKeyboard {
public:
    using Controls = std::vector<std::unique_ptr<Control>>;

    void Reset() { lastFocus_ = nullptr; }
    // The window system's tab order is the order of siblings: sorts each container's controls by
    // their tab index. Option buttons that follow each other form one group with one tab stop.
    void ApplyTabOrder(const Controls& controls);
    // One option of a container is selected: the other options of its container are cleared, and
    // the group's tab stop is that option (the first one when none is selected).
    void OptionSelected(const Controls& controls, OptionButton& option);
    // For the message loop: true when `msg` was a dialog key of the form and has been handled.
    bool HandleDialogKey(HWND form, MSG& msg);
    // WM_ACTIVATE: remembers the focus on the way out and gives it back on the way in.
    void Activated(HWND form, WPARAM wParam);

private:
    HWND lastFocus_ = nullptr;
};

} // namespace cw
