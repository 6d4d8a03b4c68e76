#pragma once
// The 16 x 16 picture that stands for the system menu control at design time.
#include <windows.h>

namespace cw {

constexpr int kSystemMenuIconSize = 16;

// The icon's colour at (x, y), 0 <= x, y < 16.
COLORREF SystemMenuIconPixel(int x, int y);
// Draws the icon with its top left corner at (left, top), each of its pixels `scale` pixels square.
void DrawSystemMenuIcon(HDC dc, int left, int top, int scale = 1);

} // namespace cw
