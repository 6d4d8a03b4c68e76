#include "forms/IconRow.h"

#include "forms/ListRows.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <algorithm>
#include <string>

namespace cw {
namespace {

// Pixels at 96 dpi.
constexpr int kIcon = 16;
constexpr int kGap = 2;  // before the icon, around the mark and the text
constexpr int kMark = 6; // the all-users mark's place, kept on every row so the texts line up
constexpr int kRoom = 1; // above and below

struct RowColours {
    COLORREF back, text, quiet; // quiet: the placeholder, the rule and its number
};

RowColours ColoursOf(UINT state) {
    if (state & ODS_SELECTED)
        return {GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT),
                GetSysColor(COLOR_HIGHLIGHTTEXT)};
    return {GetSysColor(COLOR_WINDOW),
            GetSysColor(state & ODS_DISABLED ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT),
            GetSysColor(COLOR_GRAYTEXT)};
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

// An empty square, a little inside the icon's place.
void DrawPlaceholder(HDC dc, RECT area, COLORREF colour, int line) {
    const int inset = (area.right - area.left) / 8;
    InflateRect(&area, -inset, -inset);
    Fill(dc, {area.left, area.top, area.right, area.top + line}, colour);
    Fill(dc, {area.left, area.bottom - line, area.right, area.bottom}, colour);
    Fill(dc, {area.left, area.top, area.left + line, area.bottom}, colour);
    Fill(dc, {area.right - line, area.top, area.right, area.bottom}, colour);
}

void DrawMark(HDC dc, const RECT& slot, COLORREF colour) {
    const int size = std::max(3, static_cast<int>(slot.right - slot.left));
    const int left = (slot.left + slot.right - size) / 2, top = (slot.top + slot.bottom - size) / 2;
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    const SelectedObject useBrush(dc, brush.Get()), usePen(dc, pen.Get());
    Ellipse(dc, left, top, left + size, top + size);
}

} // namespace

int IconSizeForDpi(int dpi) {
    return ScaleForDpi(kIcon, dpi);
}

int IconRowHeight(HFONT font, int dpi) {
    const ClientDC screen(nullptr);
    const SelectedObject useFont(screen.Get(), font);
    TEXTMETRICA metrics{};
    const int text = GetTextMetricsA(screen.Get(), &metrics) ? metrics.tmHeight : 0;
    return std::max(text, IconSizeForDpi(dpi)) + 2 * ScaleForDpi(kRoom, dpi);
}

void FitIconRows(HWND list, int dpi) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
    SendMessageA(list, LB_SETITEMHEIGHT, 0, IconRowHeight(font, dpi));
    InvalidateRect(list, nullptr, TRUE);
}

void DrawIconRow(const DRAWITEMSTRUCT& item, const IconRow& row, int dpi) {
    const HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const int saved = SaveDC(dc);
    const RowColours colours = ColoursOf(item.itemState);
    Fill(dc, area, colours.back);
    if (item.itemID != static_cast<UINT>(-1)) { // -1: an empty list with the focus
        const auto font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
        if (font)
            SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        const int gap = ScaleForDpi(kGap, dpi), size = IconSizeForDpi(dpi);
        const int line = std::max(1, ScaleForDpi(1, dpi));
        const RECT icon{area.left + gap, (area.top + area.bottom - size) / 2,
                        area.left + gap + size, (area.top + area.bottom - size) / 2 + size};
        if (row.icon)
            DrawIconEx(dc, icon.left, icon.top, row.icon, size, size, 0, nullptr, DI_NORMAL);
        else
            DrawPlaceholder(dc, icon, colours.quiet, line);
        const RECT mark{icon.right + gap, area.top, icon.right + gap + ScaleForDpi(kMark, dpi),
                        area.bottom};
        if (row.allUsers)
            DrawMark(dc, mark,
                     item.itemState & ODS_SELECTED ? colours.text : GetSysColor(COLOR_HIGHLIGHT));
        RECT text{mark.right + gap, area.top, area.right - gap, area.bottom};
        if (row.column > 0) {
            Fill(dc, {area.left, area.top, area.right, area.top + line}, colours.quiet);
            const std::string number = std::to_string(row.column);
            RECT place = text;
            SetTextColor(dc, colours.quiet);
            DrawTextA(dc, number.c_str(), -1, &place,
                      DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
            SIZE extent{};
            GetTextExtentPoint32A(dc, number.c_str(), static_cast<int>(number.size()), &extent);
            text.right -= extent.cx + gap;
        }
        // Wide: the narrow call reads the text in the font's code page, not the program's.
        std::wstring wide(row.text.size(), L'\0');
        wide.resize(static_cast<size_t>(
            MultiByteToWideChar(CP_ACP, 0, row.text.data(), static_cast<int>(row.text.size()),
                                wide.data(), static_cast<int>(wide.size()))));
        SetTextColor(dc, colours.text);
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    RestoreDC(dc, saved);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &area);
}

RowSpan VisibleRows(HWND list) {
    const int rows = RowCount(list);
    const auto top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const auto height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    RECT client{};
    if (rows <= 0 || top < 0 || height <= 0 || !GetClientRect(list, &client))
        return {};
    const int shown = (static_cast<int>(client.bottom) + height - 1) / height;
    return {top, std::clamp(rows - top, 0, shown)};
}

} // namespace cw
