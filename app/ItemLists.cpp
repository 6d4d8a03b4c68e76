#include "app/ItemLists.h"

#include "forms/ListRows.h"
#include "win32/Trace.h"

#include <numeric>

namespace cw {
namespace {

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
    const std::vector<int> indices = SelectedRows(source);
    if (indices.empty())
        return;

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
