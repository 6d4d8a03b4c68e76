#pragma once
// Reads back what was painted into a window's client area.
#include <windows.h>

#include <vector>

namespace cwtest {

inline COLORREF PixelAt(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

// One row (or column) of pixels.
inline std::vector<COLORREF> PixelRow(HWND hwnd, int y, int count) {
    std::vector<COLORREF> row;
    HDC dc = GetDC(hwnd);
    for (int x = 0; x < count; ++x)
        row.push_back(GetPixel(dc, x, y));
    ReleaseDC(hwnd, dc);
    return row;
}

inline std::vector<COLORREF> PixelColumn(HWND hwnd, int x, int count) {
    std::vector<COLORREF> column;
    HDC dc = GetDC(hwnd);
    for (int y = 0; y < count; ++y)
        column.push_back(GetPixel(dc, x, y));
    ReleaseDC(hwnd, dc);
    return column;
}

// Repaints the whole window now.
inline void PaintNow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

inline COLORREF Grey(int level) {
    return RGB(level, level, level);
}

} // namespace cwtest
