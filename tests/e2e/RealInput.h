#pragma once
// Real keyboard and mouse input on the test's display, through xdotool: it reaches the program as
// a user's does (focus, capture, key state), which posted messages do not. Coordinates are the
// screen's, which are the display's under Wine.
#include <windows.h>

#include <string>

namespace cwtest {

// False with the reason when xdotool is not there (scripts/setup.sh installs it).
bool HaveRealInput(std::string& whyNot);
// Runs one xdotool command line ("mousemove 10 20 click 1", "key alt+Down") and returns once it
// has sent everything; false when it failed.
bool Xdotool(const std::string& arguments);
// The screen point of a list row: its middle, or a quarter from its top or bottom.
enum class RowPart { Upper, Middle, Lower };
POINT RowOnScreen(HWND list, int row, RowPart part = RowPart::Middle);
// "mousemove x y" for a point.
std::string MoveTo(POINT p);

} // namespace cwtest
