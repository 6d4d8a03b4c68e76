#include "app/ItemLists.h"

#include "forms/ListRows.h"
#include "win32/Trace.h"

namespace cw {

void ReplaceRows(HWND list, const std::vector<std::string>& rows) {
    if (!list)
        return;
    const TraceStep trace("fill", std::to_string(rows.size()));
    const RedrawHold hold(list);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    InsertRows(list, rows);
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
        InsertRows(target, moved, at);
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
