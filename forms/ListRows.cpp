#include "forms/ListRows.h"

#include <algorithm>
#include <numeric>

namespace cw {

LRESULT RowMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(list, GCLP_WNDPROC));
    if (!own || GetWindowThreadProcessId(list, nullptr) != GetCurrentThreadId())
        return SendMessageA(list, msg, wParam, lParam);
    return CallWindowProcA(own, list, msg, wParam, lParam);
}

int RowCount(HWND list) {
    const LRESULT count = list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string RowText(HWND list, int row) {
    if (!list || row < 0)
        return {};
    const LRESULT length = RowMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = RowMessage(list, LB_GETTEXT, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void InsertRows(HWND list, const std::vector<std::string>& rows, int at) {
    if (!list || rows.empty())
        return;
    const size_t bytes =
        std::accumulate(rows.begin(), rows.end(), size_t{0},
                        [](size_t sum, const std::string& row) { return sum + row.size() + 1; });
    const bool append = at < 0 || at >= RowCount(list);
    RowMessage(list, LB_INITSTORAGE, rows.size(), static_cast<LPARAM>(bytes));
    for (const std::string& row : rows)
        if (append)
            RowMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        else
            RowMessage(list, LB_INSERTSTRING, static_cast<WPARAM>(at++),
                       reinterpret_cast<LPARAM>(row.c_str()));
}

void SelectRows(HWND list, const std::vector<int>& rows) {
    for (size_t i = 0, end = 0; i < rows.size(); i = end) {
        for (end = i + 1; end < rows.size() && rows[end] == rows[end - 1] + 1;)
            ++end;
        RowMessage(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(rows[i]),
                   static_cast<LPARAM>(rows[end - 1]));
    }
}

std::vector<int> SelectedRows(HWND list) {
    const LRESULT count = list ? SendMessageA(list, LB_GETSELCOUNT, 0, 0) : 0;
    std::vector<int> rows(count > 0 ? static_cast<size_t>(count) : 0);
    if (rows.empty())
        return rows;
    const LRESULT got = SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(rows.size()),
                                     reinterpret_cast<LPARAM>(rows.data()));
    rows.resize(got > 0 ? static_cast<size_t>(got) : 0);
    std::sort(rows.begin(), rows.end());
    return rows;
}

RedrawHold::RedrawHold(HWND list)
    : list_(list && (GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE) ? list : nullptr) {
    if (list_)
        SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

RedrawHold::~RedrawHold() {
    if (!list_)
        return;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

} // namespace cw
