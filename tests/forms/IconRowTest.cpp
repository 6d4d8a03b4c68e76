// List rows with icons, drawn into bitmaps as a list box's WM_DRAWITEM has them drawn, checked by
// their pixels at 96, 144 and 192 dpi.
#include "forms/IconRow.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <memory>

using namespace cw;

namespace {

constexpr int kWidth = 240;

// A 32-bit bitmap with a device context to draw into.
class Canvas {
public:
    Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        previous_ = SelectObject(dc_, bitmap_.Get());
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // Whether a pixel of the area has the colour.
    bool Holds(RECT area, COLORREF colour) const {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) == colour)
                    return true;
        return false;
    }

private:
    HDC dc_;
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ previous_ = nullptr;
};

} // namespace

TEST(IconRow, DrawsTheIconPlaceholderMarkRuleAndSelectionAtEachScale) {
    const HWND list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                                    0, 0, kWidth, 100, nullptr, nullptr, nullptr, nullptr);
    const COLORREF back = GetSysColor(COLOR_WINDOW), quiet = GetSysColor(COLOR_GRAYTEXT);
    for (const int dpi : {96, 144, 192}) {
        const int size = IconSizeForDpi(dpi);
        EXPECT_EQ(size, dpi / 6) << dpi;
        const auto font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
        const int height = IconRowHeight(font, dpi);
        EXPECT_GE(height, size + 2) << dpi;
        const OwnedIcon icon(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(icon);
        const int left = ScaleForDpi(2, dpi), top = (height - size) / 2;
        const RECT square{left, top, left + size, top + size};
        const auto draw = [&](const IconRow& row, UINT state) {
            auto canvas = std::make_unique<Canvas>(kWidth, height);
            const DRAWITEMSTRUCT item{ODT_LISTBOX,
                                      0,
                                      0,
                                      ODA_DRAWENTIRE,
                                      state,
                                      list,
                                      canvas->Dc(),
                                      {0, 0, kWidth, height},
                                      0};
            DrawIconRow(item, row, dpi);
            return canvas;
        };

        // The icon's own pixels, as it looks drawn alone on the list's background.
        const auto row = draw({"Mines", icon.Get()}, 0);
        Canvas alone(kWidth, height);
        const HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
        const RECT whole{0, 0, kWidth, height};
        FillRect(alone.Dc(), &whole, window);
        DrawIconEx(alone.Dc(), left, top, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
        int iconPixels = 0, different = 0;
        for (int y = square.top; y < square.bottom; ++y)
            for (int x = square.left; x < square.right; ++x) {
                iconPixels += alone.At(x, y) != back;
                different += row->At(x, y) != alone.At(x, y);
            }
        EXPECT_GT(iconPixels, size * size / 4) << dpi;
        EXPECT_EQ(different, 0) << dpi;
        EXPECT_TRUE(row->Holds({square.right, 0, kWidth, height}, GetSysColor(COLOR_WINDOWTEXT)))
            << "text, " << dpi;
        EXPECT_FALSE(row->Holds({0, 0, kWidth, 1}, quiet)) << "no rule, " << dpi;

        // Not known yet: a placeholder; from the all-users desktop: a mark beside the icon; at a
        // column's start: a rule across the top, with the number at the right.
        const auto other = draw({"Games", nullptr, true, 3}, 0);
        EXPECT_TRUE(other->Holds(square, quiet)) << dpi;
        EXPECT_EQ(other->At(left + size / 2, height / 2), back) << dpi;
        const RECT beside{square.right, top, square.right + ScaleForDpi(10, dpi), square.bottom};
        EXPECT_TRUE(other->Holds(beside, GetSysColor(COLOR_HOTLIGHT))) << dpi;
        EXPECT_FALSE(row->Holds(beside, GetSysColor(COLOR_HOTLIGHT))) << dpi;
        EXPECT_EQ(other->At(kWidth / 2, 0), quiet) << dpi;
        EXPECT_TRUE(
            other->Holds({kWidth - ScaleForDpi(12, dpi), height / 4, kWidth, height}, quiet))
            << dpi;

        // Selected as the system draws it.
        const auto selected = draw({"Mines", icon.Get()}, ODS_SELECTED | ODS_FOCUS);
        EXPECT_EQ(selected->At(kWidth - 2, height / 2), GetSysColor(COLOR_HIGHLIGHT)) << dpi;
        EXPECT_TRUE(selected->Holds({square.right, 1, kWidth, height - 1},
                                    GetSysColor(COLOR_HIGHLIGHTTEXT)))
            << dpi;
    }
    DestroyWindow(list);
}
