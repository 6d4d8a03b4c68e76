#include "app/ItemLists.h"

#include "win32/Trace.h"

#include <numeric>

namespace cw {
namespace {

// Holds a list's repainting back for one scope, so that a bulk change paints once instead of
// once per row. A hidden list is left alone: turning redraw back on would show it.
class RedrawHold {
public:
    explicit RedrawHold(HWND list)
        : list_(list && (GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE) ? list : nullptr) {
        if (list_)
            SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawHold() {
        if (!list_)
            return;
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }
    RedrawHold(const RedrawHold&) = delete;
    RedrawHold& operator=(const RedrawHold&) = delete;

private:
    HWND list_;
};

// A row message straight to the list box's own window procedure. Under Wine every link of a
// subclass chain made with SetWindowSubclass looks its window property up in the server for each
// message it passes on: through the main window's hooks on its lists, the row messages of a move
// of 10,000 rows took seconds (more on a busy machine) where the list itself needs milliseconds.
// No hook on a list acts on row messages. A list of another thread gets them sent as usual.
LRESULT RowMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(list, GCLP_WNDPROC));
    if (!own || GetWindowThreadProcessId(list, nullptr) != GetCurrentThreadId())
        return SendMessageA(list, msg, wParam, lParam);
    return CallWindowProcA(own, list, msg, wParam, lParam);
}

std::string RowText(HWND list, int index) {
    const LRESULT length = RowMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = RowMessage(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

int RowCount(HWND list) {
    const LRESULT count = list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

// Appends (or inserts before row `at`) with the list's storage reserved up front; the caller holds
// the repainting back.
void AddRows(HWND list, const std::vector<std::string>& rows, int at = -1) {
    if (rows.empty())
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

} // namespace

void ReplaceRows(HWND list, const std::vector<std::string>& rows) {
    if (!list)
        return;
    const TraceStep trace("fill", std::to_string(rows.size()));
    const RedrawHold hold(list);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    AddRows(list, rows);
}

std::vector<std::string> ReadRows(HWND list) {
    std::vector<std::string> rows;
    const int count = RowCount(list);
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back(RowText(list, i));
    return rows;
}

// Row texts are unique (they are the names of one folder's shortcuts, split over the two lists),
// so taking the selected rows out by index, from the bottom up, removes exactly the rows whose
// texts were moved, without searching for each text.
void MoveSelectedRows(HWND source, HWND target, int at) {
    if (!source || !target)
        return; // rows taken out would have nowhere to go
    const LRESULT selected = SendMessageA(source, LB_GETSELCOUNT, 0, 0);
    if (selected <= 0)
        return;
    std::vector<int> indices(static_cast<size_t>(selected));
    const LRESULT got = SendMessageA(source, LB_GETSELITEMS, static_cast<WPARAM>(selected),
                                     reinterpret_cast<LPARAM>(indices.data()));
    indices.resize(got > 0 ? static_cast<size_t>(got) : 0);

    const TraceStep trace("move", std::to_string(indices.size()));
    std::vector<std::string> moved;
    moved.reserve(indices.size());
    {
        const TraceStep read("read");
        for (const int index : indices)
            moved.push_back(RowText(source, index));
    }
    {
        const TraceStep append("append");
        const RedrawHold hold(target);
        AddRows(target, moved, at);
    }

    const TraceStep takeOut("take out");
    const RedrawHold hold(source);
    if (static_cast<int>(indices.size()) == RowCount(source)) {
        SendMessageA(source, LB_RESETCONTENT, 0, 0);
        return;
    }
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        RowMessage(source, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
}

} // namespace cw
