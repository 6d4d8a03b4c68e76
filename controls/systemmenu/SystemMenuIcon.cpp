#include "controls/systemmenu/SystemMenuIcon.h"

#include "win32/Handles.h"

namespace cw {
namespace {

// A window whose system menu is open, with a highlighted command below a separator; drawn in
// colours of the 16-colour palette: k black, n navy, g grey, s silver, w white.
constexpr const char* kRows[kSystemMenuIconSize] = {
    "kkkkkkkkkkkkkkkk", //
    "knnnnnnnnnnnnnnk", //
    "knwwnnnnnnnnnnnk", //
    "knwwnnnnnnnnnnnk", //
    "kkkkkkkkkkkkkkkk", //
    "kwwwwwwwwwkssssk", //
    "kwkkkkkkwgkssssk", //
    "kwwwwwwwwgkssssk", //
    "kwkkkkkwwgkssssk", //
    "kwwwwwwwwgkssssk", //
    "kwggggggwgkssssk", //
    "kwwwwwwwwgkssssk", //
    "knnnnnnnngkssssk", //
    "kwwwwwwwwgkssssk", //
    "kggggggggggssssk", //
    "kkkkkkkkkkkkkkkk", //
};

} // namespace

COLORREF SystemMenuIconPixel(int x, int y) {
    switch (kRows[y][x]) {
    case 'n':
        return RGB(0, 0, 128);
    case 'g':
        return RGB(128, 128, 128);
    case 's':
        return RGB(192, 192, 192);
    case 'w':
        return RGB(255, 255, 255);
    default:
        return RGB(0, 0, 0);
    }
}

void DrawSystemMenuIcon(HDC dc, int left, int top, int scale) {
    for (int y = 0; y < kSystemMenuIconSize; ++y) {
        for (int x = 0; x < kSystemMenuIconSize; ++x) {
            if (scale <= 1) {
                SetPixelV(dc, left + x, top + y, SystemMenuIconPixel(x, y));
                continue;
            }
            const GdiObject<HBRUSH> brush(CreateSolidBrush(SystemMenuIconPixel(x, y)));
            const RECT block{left + x * scale, top + y * scale, left + (x + 1) * scale,
                             top + (y + 1) * scale};
            FillRect(dc, &block, brush.Get());
        }
    }
}

} // namespace cw
