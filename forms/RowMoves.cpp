#include "forms/RowMoves.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace cw {
namespace {

std::vector<char> Marks(int count, const std::vector<int>& selected) {
    std::vector<char> marks(static_cast<size_t>(std::max(count, 0)));
    for (const int row : selected)
        if (row >= 0 && row < count)
            marks[static_cast<size_t>(row)] = 1;
    return marks;
}

} // namespace

std::vector<int> MovedOrder(int count, const std::vector<int>& selected, RowMove move) {
    std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
    std::iota(order.begin(), order.end(), 0);
    std::vector<char> marks = Marks(count, selected);
    // A selected row changes places with the unselected row on the side it moves to. Working from
    // that edge, a row held there holds back the selected rows that follow it.
    const auto exchange = [&](size_t selectedAt, size_t other) {
        if (marks[selectedAt] && !marks[other]) {
            std::swap(order[selectedAt], order[other]);
            std::swap(marks[selectedAt], marks[other]);
        }
    };
    switch (move) {
    case RowMove::Up:
        for (size_t i = 1; i < order.size(); ++i)
            exchange(i, i - 1);
        break;
    case RowMove::Down:
        for (size_t i = order.size(); i-- > 1;)
            exchange(i - 1, i);
        break;
    case RowMove::Top:
    case RowMove::Bottom:
        std::stable_partition(order.begin(), order.end(), [&](int row) {
            return marks[static_cast<size_t>(row)] == (move == RowMove::Top);
        });
        break;
    }
    return order;
}

std::vector<int> DroppedOrder(int count, const std::vector<int>& selected, int at) {
    const std::vector<char> marks = Marks(count, selected);
    std::vector<int> order, moved;
    size_t insertAt = 0;
    for (int row = 0; row < count; ++row) {
        if (marks[static_cast<size_t>(row)]) {
            moved.push_back(row);
            continue;
        }
        order.push_back(row);
        if (row < at)
            insertAt = order.size();
    }
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(insertAt), moved.begin(), moved.end());
    return order;
}

} // namespace cw
