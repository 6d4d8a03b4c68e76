#pragma once
// Reads back what was painted into a window's client area.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace cwtest {

// The pixels of row y from x `from` up to `to`.
inline std::vector<COLORREF> PixelRow(HWND hwnd, int y, int to, int from = 0) {
    std::vector<COLORREF> row;
    HDC dc = GetDC(hwnd);
    for (int x = from; x < to; ++x)
        row.push_back(GetPixel(dc, x, y));
    ReleaseDC(hwnd, dc);
    return row;
}

inline COLORREF PixelAt(HWND hwnd, int x, int y) {
    return PixelRow(hwnd, y, x + 1, x)[0];
}

inline int CountPixels(HWND hwnd, RECT area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        const auto row = PixelRow(hwnd, y, area.right, area.left);
        count += static_cast<int>(std::count(row.begin(), row.end(), colour));
    }
    return count;
}

} // namespace cwtest
