#include "forms/RowMoves.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cw;

namespace {

// Six rows A to F; an order reads as the letters of its rows.
std::string Letters(const std::vector<int>& order) {
    std::string text;
    for (const int row : order)
        text += static_cast<char>('A' + row);
    return text;
}

} // namespace

TEST(RowMoves, MoveSelectedRowsOnePlaceOrToAnEdge) {
    const struct {
        RowMove move;
        std::vector<int> selected;
        const char* order;
    } cases[] = {
        {RowMove::Up, {2}, "ACBDEF"},
        {RowMove::Down, {2}, "ABDCEF"},
        {RowMove::Up, {0}, "ABCDEF"}, // at the edge: stays put
        {RowMove::Down, {5}, "ABCDEF"},
        {RowMove::Up, {2, 3}, "ACDBEF"}, // a block moves together
        {RowMove::Down, {2, 3}, "ABECDF"},
        {RowMove::Up, {0, 1}, "ABCDEF"},    // a block at the edge stays put
        {RowMove::Up, {1, 3, 5}, "BADCFE"}, // scattered rows each move
        {RowMove::Up, {0, 1, 3}, "ABDCEF"}, // held at the edge, the rest moves
        {RowMove::Down, {0, 2, 5}, "BADCEF"},
        {RowMove::Top, {1, 3, 5}, "BDFACE"}, // in their order, the others after them
        {RowMove::Bottom, {0, 2}, "BDEFAC"},
        {RowMove::Top, {0, 1}, "ABCDEF"},
        {RowMove::Down, {}, "ABCDEF"},
        {RowMove::Up, {-1, 9}, "ABCDEF"}, // rows that are not there move nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(Letters(MovedOrder(6, c.selected, c.move)), c.order)
            << static_cast<int>(c.move) << " of " << c.selected.size() << " rows";
}

TEST(RowMoves, DropSelectedRowsBeforeARowOfTheListAsItWas) {
    const struct {
        std::vector<int> selected;
        int at;
        const char* order;
    } cases[] = {
        {{1, 2}, 5, "ADEBCF"}, {{4}, 0, "EABCDF"}, {{0, 5}, 3, "BCAFDE"}, {{1, 2}, 6, "ADEFBC"},
        {{2}, 2, "ABCDEF"},    {{2}, 3, "ABCDEF"}, {{2, 3}, 3, "ABCDEF"}, // onto themselves
        {{}, 0, "ABCDEF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Letters(DroppedOrder(6, c.selected, c.at)), c.order) << "at " << c.at;
}
