#include "forms/ListReorder.h"

#include "forms/ListRows.h"
#include "forms/RowMoves.h"
#include "win32/Handles.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace cw {
namespace {

constexpr UINT_PTR kScrollTimer = 0x4C52; // on the list a drag started from
constexpr UINT kScrollMs = 60;

int RowHeight(HWND list) {
    const LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    return height > 0 ? static_cast<int>(height) : 1;
}

int TopRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
}

int WholeRowsShown(HWND list) {
    RECT r{};
    GetClientRect(list, &r);
    return std::max(1, static_cast<int>(r.bottom) / RowHeight(list));
}

bool MultiSelect(HWND list) {
    return (GetWindowLongPtrA(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

// Scrolls as little as needed to show the row.
void ShowRow(HWND list, int row) {
    const int top = TopRow(list), visible = WholeRowsShown(list);
    if (row < top)
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    else if (row >= top + visible)
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(row - visible + 1), 0);
}

std::optional<RowMove> MoveOfKey(WPARAM key) {
    switch (key) {
    case VK_UP:
        return RowMove::Up;
    case VK_DOWN:
        return RowMove::Down;
    case VK_HOME:
        return RowMove::Top;
    case VK_END:
        return RowMove::Bottom;
    default:
        return std::nullopt;
    }
}

} // namespace

ListReorder::ListReorder(ListBox& list, ListBox* feeder)
    : list_(list.Hwnd()), feeder_(feeder ? feeder->Hwnd() : nullptr) {
    const auto handle = [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return Handle(hwnd, msg, wParam, lParam);
    };
    listHook_.Hook(list_, handle);
    feederHook_.Hook(feeder_, handle);
}

ListReorder::~ListReorder() {
    if (drag_.source)
        EndDrag();
}

LRESULT ListReorder::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSKEYDOWN:
        // Alt is down (the context bit); the keys of a drag in progress are left alone.
        if (hwnd == list_ && (HIWORD(lParam) & KF_ALTDOWN) && !drag_.source)
            if (const auto move = MoveOfKey(wParam)) {
                Move(*move);
                // The system's own handling still sees the key, so that releasing Alt afterwards
                // does not open the window's menu.
                return DefWindowProcA(hwnd, msg, wParam, lParam);
            }
        break;
    case WM_KEYDOWN:
        if (drag_.source && wParam == VK_ESCAPE) {
            EndDrag();
            return 0;
        }
        if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 &&
            MultiSelect(hwnd)) {
            SelectAll(hwnd);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == 1) // the character Ctrl+A makes, not a row's first letter
            return 0;
        break;
    case WM_GETDLGCODE: {
        // During a drag, Escape belongs to the list rather than to the dialog manager.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (drag_.source && key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE)
            return WindowHook::Next(hwnd, msg, wParam, lParam) | DLGC_WANTMESSAGE;
        break;
    }
    case WM_LBUTTONDOWN:
        if (Press(hwnd, wParam, lParam))
            return 0;
        break;
    case WM_MOUSEMOVE:
        if (drag_.source == hwnd) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hwnd, &p);
            Track(p);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (drag_.source == hwnd) {
            Release(hwnd, lParam);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kScrollTimer) {
            AutoScroll();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (drag_.source == hwnd && reinterpret_cast<HWND>(lParam) != hwnd)
            EndDrag(); // another window took the mouse
        break;
    case WM_PAINT:
        if (hwnd == list_ && drag_.dropAt >= 0) {
            const LRESULT painted = WindowHook::Next(hwnd, msg, wParam, lParam);
            DrawLine();
            return painted;
        }
        break;
    case WM_NCDESTROY:
        if (drag_.source == hwnd)
            drag_ = {};
        (hwnd == list_ ? list_ : feeder_) = nullptr;
        break;
    }
    return WindowHook::Next(hwnd, msg, wParam, lParam);
}

// ---- Keys ----

void ListReorder::Move(RowMove move) {
    const std::vector<int> selected = SelectedRows(list_);
    if (!selected.empty())
        Rearrange(selected, MovedOrder(RowCount(list_), selected, move),
                  move == RowMove::Up || move == RowMove::Top);
}

void ListReorder::SelectAll(HWND list) {
    if (RowCount(list) == 0)
        return;
    SendMessageA(list, LB_SETSEL, TRUE, -1);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

// Puts the rows in `order` (order[new] = old) the way ">>" moves rows: the range from the first
// row that moves to the last is read once and rebuilt with the repainting held, and the moved
// rows are selected again in one pass, so that a move of thousands of rows costs the list's own
// work and not a message per row through the list's hooks. The caret and the anchor follow their
// rows; the moved rows are scrolled into view, the first of them or the last, `leadIsFirst` says
// which, above all.
void ListReorder::Rearrange(const std::vector<int>& selected, const std::vector<int>& order,
                            bool leadIsFirst) {
    const int count = static_cast<int>(order.size());
    const auto stays = [&](int row) { return order[static_cast<size_t>(row)] == row; };
    int first = 0, last = count - 1;
    while (first <= last && stays(first))
        ++first;
    while (last >= first && stays(last))
        --last;
    if (first > last)
        return; // nothing could move
    std::vector<int> newIndex(order.size());
    for (int i = 0; i < count; ++i)
        newIndex[static_cast<size_t>(order[static_cast<size_t>(i)])] = i;
    const auto placeOf = [&](int row) { return newIndex[static_cast<size_t>(row)]; };
    const auto follow = [&](LRESULT row) {
        return row >= 0 && row < count ? placeOf(static_cast<int>(row)) : static_cast<int>(row);
    };
    const int caret = follow(SendMessageA(list_, LB_GETCARETINDEX, 0, 0));
    const int anchor = follow(SendMessageA(list_, LB_GETANCHORINDEX, 0, 0));
    const int top = TopRow(list_);
    std::vector<std::string> was;
    was.reserve(static_cast<size_t>(last - first + 1));
    for (int row = first; row <= last; ++row)
        was.push_back(RowText(list_, row));
    std::vector<std::string> rows;
    rows.reserve(was.size());
    for (int at = first; at <= last; ++at)
        rows.push_back(std::move(was[static_cast<size_t>(order[static_cast<size_t>(at)] - first)]));
    std::vector<int> places;
    places.reserve(selected.size());
    for (const int row : selected)
        places.push_back(placeOf(row));
    std::sort(places.begin(), places.end());

    {
        const RedrawHold hold(list_); // painted once, at the end
        for (int row = last; row >= first; --row)
            RowMessage(list_, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        InsertRows(list_, rows, first);
        SelectRows(list_, places);
        SendMessageA(list_, LB_SETANCHORINDEX, static_cast<WPARAM>(anchor), 0);
        SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
        SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        ShowRow(list_, placeOf(leadIsFirst ? selected.back() : selected.front()));
        ShowRow(list_, placeOf(leadIsFirst ? selected.front() : selected.back()));
    }
    if (Moved)
        Moved();
}

// ---- Dragging ----

// A press on a selected row, without Shift or Ctrl, may start a drag: the list does not see it
// until the pointer moves (a drag) or the button comes up where it went down (a click).
bool ListReorder::Press(HWND hwnd, WPARAM keys, LPARAM at) {
    if ((keys & (MK_SHIFT | MK_CONTROL)) || !list_ || drag_.source)
        return false;
    const int row = TopRow(hwnd) + GET_Y_LPARAM(at) / RowHeight(hwnd);
    if (GET_Y_LPARAM(at) < 0 || row >= RowCount(hwnd) ||
        SendMessageA(hwnd, LB_GETSEL, static_cast<WPARAM>(row), 0) <= 0)
        return false;
    drag_ = {};
    drag_.source = hwnd;
    drag_.start = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ClientToScreen(hwnd, &drag_.start);
    drag_.keys = keys;
    drag_.at = at;
    ::SetFocus(hwnd);
    SetCapture(hwnd);
    return true;
}

void ListReorder::Track(POINT screen) {
    if (!drag_.moving) {
        if (std::abs(screen.x - drag_.start.x) <= GetSystemMetrics(SM_CXDRAG) &&
            std::abs(screen.y - drag_.start.y) <= GetSystemMetrics(SM_CYDRAG))
            return;
        drag_.moving = true;
        SetTimer(drag_.source, kScrollTimer, kScrollMs, nullptr);
    }
    POINT client = screen;
    ScreenToClient(list_, &client);
    const int at = DropPlace(client);
    SetCursor(LoadCursor(nullptr, at >= 0 ? IDC_ARROW : IDC_NO));
    ShowDropAt(at);
}

void ListReorder::Release(HWND hwnd, LPARAM at) {
    const Drag done = drag_;
    if (!done.moving) {
        EndDrag();
        // Not a drag after all: the list gets the click it would have had.
        WindowHook::Next(hwnd, WM_LBUTTONDOWN, done.keys, done.at);
        WindowHook::Next(hwnd, WM_LBUTTONUP, done.keys & ~MK_LBUTTON, at);
        return;
    }
    POINT client{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    MapWindowPoints(hwnd, list_, &client, 1);
    const int dropAt = DropPlace(client);
    EndDrag();
    if (dropAt < 0)
        return;
    if (done.source != list_) {
        if (Dropped)
            Dropped(dropAt);
    } else if (const std::vector<int> selected = SelectedRows(list_); !selected.empty()) {
        Rearrange(selected, DroppedOrder(RowCount(list_), selected, dropAt), true);
    }
}

void ListReorder::EndDrag() {
    const HWND source = drag_.source;
    if (!source)
        return;
    KillTimer(source, kScrollTimer);
    ShowDropAt(-1);
    drag_ = {};
    if (GetCapture() == source)
        ReleaseCapture();
}

int ListReorder::DropPlace(POINT client) const {
    RECT r{};
    GetClientRect(list_, &r);
    if (!PtInRect(&r, client))
        return -1;
    const int height = RowHeight(list_);
    return std::min(TopRow(list_) + static_cast<int>(client.y + height / 2) / height,
                    RowCount(list_));
}

// While the pointer is held within a row of the list's top or bottom edge, the list scrolls a
// row at a time.
void ListReorder::AutoScroll() {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(list_, &p);
    RECT r{};
    GetClientRect(list_, &r);
    if (!PtInRect(&r, p))
        return;
    const int height = RowHeight(list_), top = TopRow(list_);
    int wanted = top;
    if (p.y < height)
        wanted = top - 1;
    else if (p.y >= r.bottom - height && top + WholeRowsShown(list_) < RowCount(list_))
        wanted = top + 1;
    if (wanted == top || wanted < 0)
        return;
    SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(wanted), 0);
    drag_.dropAt = DropPlace(p);
    InvalidateRect(list_, nullptr, TRUE); // the line scrolled with the rows
    UpdateWindow(list_);
}

void ListReorder::ShowDropAt(int at) {
    if (at == drag_.dropAt || !list_)
        return;
    for (const int place : {drag_.dropAt, at}) {
        const RECT line = LineRect(place);
        InvalidateRect(list_, &line, TRUE);
    }
    drag_.dropAt = at;
    UpdateWindow(list_);
}

// The insertion line along the boundary above row `at`, as thick as an eighth of a row (two
// pixels at least), kept inside the list.
RECT ListReorder::LineRect(int at) const {
    if (at < 0 || !list_)
        return {};
    RECT r{};
    GetClientRect(list_, &r);
    const int height = RowHeight(list_);
    const int thickness = std::max(2, height / 8);
    const int y = std::clamp((at - TopRow(list_)) * height - thickness / 2, 0,
                             std::max(0, static_cast<int>(r.bottom) - thickness));
    return {0, y, r.right, y + thickness};
}

void ListReorder::DrawLine() const {
    const RECT line = LineRect(drag_.dropAt);
    const ClientDC dc(list_);
    if (dc)
        FillRect(dc.Get(), &line, GetSysColorBrush(COLOR_WINDOWTEXT));
}

} // namespace cw
