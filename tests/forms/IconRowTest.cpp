// List rows with icons, drawn into bitmaps as a list box's WM_DRAWITEM has them drawn, checked by
// their pixels at 96, 144 and 192 dpi.
#include "forms/IconRow.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace cw;

namespace {

constexpr int kWidth = 240;

// The pixels of a bitmap `height` high after `draw`, row by row.
std::vector<COLORREF> Drawn(int height, const std::function<void(HDC, const RECT&)>& draw) {
    const ClientDC screen(nullptr);
    const HDC dc = CreateCompatibleDC(screen.Get());
    const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), kWidth, height));
    const HGDIOBJ previous = SelectObject(dc, bitmap.Get());
    draw(dc, {0, 0, kWidth, height});
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, previous);
    DeleteDC(dc);
    return pixels;
}

// How many pixels of the area have the colour.
int Count(const std::vector<COLORREF>& pixels, const RECT& area, COLORREF colour) {
    int found = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            found += pixels[static_cast<size_t>(y * kWidth + x)] == colour;
    return found;
}

} // namespace

TEST(IconRow, DrawsTheIconOrAPlaceholderTheAllUsersMarkAndTheColumnRuleAtEachScale) {
    const HWND list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                                    0, 0, kWidth, 100, nullptr, nullptr, nullptr, nullptr);
    const COLORREF back = GetSysColor(COLOR_WINDOW), quiet = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF mark = GetSysColor(COLOR_HIGHLIGHT);
    for (const int dpi : {96, 144, 192}) {
        const int size = IconSizeForDpi(dpi);
        EXPECT_EQ(size, dpi / 6);
        FitIconRows(list, dpi);
        const auto height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        const OwnedIcon icon(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)));
        const int left = ScaleForDpi(2, dpi), top = (height - size) / 2;
        const RECT square{left, top, left + size, top + size}, whole{0, 0, kWidth, height};
        const RECT beside{square.right, top, square.right + ScaleForDpi(10, dpi), square.bottom};
        const auto row = [&](const IconRow& look) {
            return Drawn(height, [&](HDC dc, const RECT& area) {
                DrawIconRow({ODT_LISTBOX, 0, 0, ODA_DRAWENTIRE, 0, list, dc, area, 0}, look, dpi);
            });
        };

        // The icon's own pixels, as it looks drawn alone on the list's background.
        const std::vector<COLORREF> mines = row({"Mines", icon.Get()});
        const std::vector<COLORREF> alone = Drawn(height, [&](HDC dc, const RECT& area) {
            FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
            DrawIconEx(dc, left, top, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
        });
        EXPECT_LT(Count(alone, square, back), size * size * 3 / 4) << dpi;
        for (LONG y = square.top; y < square.bottom; ++y)
            for (LONG x = square.left; x < square.right; ++x)
                ASSERT_EQ(mines[y * kWidth + x], alone[y * kWidth + x]) << x << "," << y;
        EXPECT_GT(Count(mines, whole, GetSysColor(COLOR_WINDOWTEXT)), 0) << "its text";
        EXPECT_EQ(Count(mines, beside, mark) + Count(mines, {0, 0, kWidth, 1}, quiet), 0) << dpi;

        // Not known yet: a placeholder; from the all-users desktop: a mark beside the icon; at a
        // column's start: a rule across the top, and the number at the right.
        const std::vector<COLORREF> games = row({"Games", nullptr, true, 3});
        EXPECT_GT(Count(games, square, quiet), 0) << dpi;
        EXPECT_EQ(games[height / 2 * kWidth + left + size / 2], back) << dpi;
        EXPECT_GT(Count(games, beside, mark), 0) << dpi;
        EXPECT_EQ(Count(games, {0, 0, kWidth, 1}, quiet), kWidth) << dpi;
        EXPECT_GT(Count(games, {kWidth - ScaleForDpi(12, dpi), height / 4, kWidth, height}, quiet),
                  0)
            << dpi;
    }
    DestroyWindow(list);
}
