// Rearranging the new order in the main window by keys and by dragging, in-process: the keys and
// mouse messages as the list gets them (Alt in the key's context bit, Ctrl in the key state), the
// rows, selection, caret and scrolling after each move, and the status bar and buttons following.
// The real keyboard and mouse are driven end to end (tests/e2e/ReorderTest.cpp).
#include "TestDesktop.h"
#include "app/FormClutterwise.h"
#include "app/ItemLists.h"
#include "controls/Components.h"
#include "controls/statusbar/StatusBar.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>
#include <vector>

using namespace cw;
using namespace cwtest;

namespace {

using Rows = std::vector<std::string>;
using Selection = std::vector<int>;
const Rows kNames = {"Alpha", "Straße", "日本語", "Delta", "Écho", "Foxtrot"};

// Rows of kNames by their indices, "021" for Alpha, 日本語, Straße.
Rows Named(const std::string& indices) {
    Rows rows;
    for (const char digit : indices)
        rows.push_back(kNames[static_cast<size_t>(digit - '0')]);
    return rows;
}

class MainWindowReorder : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponents();
        TestDesktop::Clear();
        ASSERT_TRUE(form.Load()) << form.LoadError();
    }
    HWND List(bool added) const {
        return form.Get<Control>(added ? "ListItemsNew" : "ListItemsCurrent").Hwnd();
    }
    void Fill(bool added, const Rows& rows, const Selection& selected, int caret = -1) {
        ReplaceRows(List(added), rows);
        for (const int row : selected)
            SendMessageA(List(added), LB_SETSEL, TRUE, row);
        if (caret >= 0)
            SendMessageA(List(added), LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    }
    Selection SelectedOf(bool added) const {
        Selection rows;
        const auto count = static_cast<int>(SendMessageA(List(added), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (SendMessageA(List(added), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                rows.push_back(i);
        return rows;
    }
    int Caret() const { return static_cast<int>(SendMessageA(List(true), LB_GETCARETINDEX, 0, 0)); }
    void AltKey(UINT key) {
        SendMessageA(List(true), WM_SYSKEYDOWN, key, MAKELPARAM(1, KF_ALTDOWN));
    }
    // A point of a list in the client coordinates of `in`: in a row's upper or lower quarter.
    POINT RowPoint(bool added, int row, bool lower, HWND in) const {
        RECT r{};
        SendMessageA(List(added), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        POINT p{10, lower ? r.bottom - (r.bottom - r.top) / 4 : r.top + (r.bottom - r.top) / 4};
        MapWindowPoints(List(added), in, &p, 1);
        return p;
    }
    void Mouse(HWND list, UINT msg, POINT p) {
        SendMessageA(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    // Presses on a row of one list, moves to a row of the new list, and lets go there.
    void Drag(bool fromAdded, int row, int toRow, bool lower) {
        const HWND source = List(fromAdded);
        Mouse(source, WM_LBUTTONDOWN, RowPoint(fromAdded, row, false, source));
        Mouse(source, WM_MOUSEMOVE, RowPoint(true, toRow, lower, source));
        Mouse(source, WM_LBUTTONUP, RowPoint(true, toRow, lower, source));
    }
    std::string Shown(int panel) const {
        char text[256] = "";
        SendMessageA(form.GetComponent<StatusBar>("StatusBarClutterwise")->ControlHwnd(),
                     SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool Enabled(const char* button) const {
        return IsWindowEnabled(form.Get<Control>(button).Hwnd()) != FALSE;
    }

    FormClutterwise form;
};

} // namespace

TEST_F(MainWindowReorder, AltArrowsHomeAndEndMoveTheSelectedRowsWithSelectionAndCaret) {
    const struct {
        Selection selected;
        int caret;
        UINT key;
        const char* order;
        Selection selectedAfter;
        int caretAfter;
    } cases[] = {
        {{2}, 2, VK_UP, "021345", {1}, 1},         // a Unicode row
        {{1, 2}, 1, VK_DOWN, "031245", {2, 3}, 2}, // a block
        {{0, 3}, 3, VK_UP, "013245", {0, 2}, 2},   // scattered, the first held by the edge
        {{4, 5}, 5, VK_DOWN, "012345", {4, 5}, 5}, // at the edge: stays put
        {{1, 4}, 4, VK_HOME, "140235", {0, 1}, 1}, {{0, 2}, 0, VK_END, "134502", {4, 5}, 4},
    };
    for (const auto& c : cases) {
        Fill(true, kNames, c.selected, c.caret);
        AltKey(c.key);
        EXPECT_EQ(ReadRows(List(true)), Named(c.order)) << c.order;
        EXPECT_EQ(SelectedOf(true), c.selectedAfter) << c.order;
        EXPECT_EQ(Caret(), c.caretAfter) << c.order;
        // The status bar and the buttons follow, as after a click.
        EXPECT_EQ(Shown(1),
                  "6 new items / " + std::to_string(c.selectedAfter.size()) + " selected ");
        EXPECT_TRUE(Enabled("CommandItemsRemove"));
    }
    // Without Alt the key is the list's own (the caret moves, the rows stay).
    Fill(true, kNames, {3}, 3);
    SendMessageA(List(true), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(ReadRows(List(true)), kNames);
}

TEST_F(MainWindowReorder, MovedRowsAreScrolledIntoView) {
    Rows rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back("Row " + std::to_string(i));
    Fill(true, rows, {0, 1});
    AltKey(VK_END);
    const auto top = [&] {
        return static_cast<int>(SendMessageA(List(true), LB_GETTOPINDEX, 0, 0));
    };
    RECT r{};
    GetClientRect(List(true), &r);
    const int visible =
        r.bottom / static_cast<int>(SendMessageA(List(true), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(ReadRows(List(true))[198], "Row 0");
    EXPECT_GT(top() + visible, 199);
    AltKey(VK_UP);
    EXPECT_GT(top() + visible, 198);
    AltKey(VK_HOME);
    EXPECT_EQ(top(), 0);
    EXPECT_EQ(SelectedOf(true), (Selection{0, 1}));
}

TEST_F(MainWindowReorder, CtrlASelectsEveryRowOfTheFocusedList) {
    Fill(false, {"Mail", "Notes", "Clock"}, {});
    Fill(true, kNames, {});
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(List(false), WM_KEYDOWN, 'A', 1);
    SendMessageA(List(true), WM_KEYDOWN, 'A', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(SelectedOf(false), (Selection{0, 1, 2}));
    EXPECT_EQ(SelectedOf(true).size(), 6u);
    EXPECT_EQ(Shown(0), "3 current items / 3 selected ");
    EXPECT_EQ(Shown(1), "6 new items / 6 selected ");
    EXPECT_TRUE(Enabled("CommandItemsAdd") && Enabled("CommandItemsRemove"));
}

TEST_F(MainWindowReorder, DraggedRowsGoWhereTheyAreDropped) {
    // Within the new order: rows 1 and 2 dropped in the lower half of row 4 go after it.
    Fill(true, kNames, {1, 2});
    Drag(true, 1, 4, true);
    EXPECT_EQ(ReadRows(List(true)), Named("034125"));
    EXPECT_EQ(SelectedOf(true), (Selection{3, 4}));
    // Escape cancels a drag; a press and release without movement is a click on the row.
    Fill(true, kNames, {1, 2});
    const HWND added = List(true);
    Mouse(added, WM_LBUTTONDOWN, RowPoint(true, 1, false, added));
    Mouse(added, WM_MOUSEMOVE, RowPoint(true, 5, false, added));
    SendMessageA(added, WM_KEYDOWN, VK_ESCAPE, 1);
    Mouse(added, WM_LBUTTONUP, RowPoint(true, 5, false, added));
    EXPECT_EQ(ReadRows(added), kNames);
    Mouse(added, WM_LBUTTONDOWN, RowPoint(true, 2, false, added));
    Mouse(added, WM_LBUTTONUP, RowPoint(true, 2, false, added));
    EXPECT_EQ(SelectedOf(true), (Selection{2}));
    EXPECT_EQ(Shown(1), "6 new items / 1 selected ");

    // From the current order: inserted at the drop, then appended below the last row, as ">>".
    Fill(false, {"Mail", "Notes", "Clock"}, {0, 2});
    Drag(false, 0, 1, false);
    EXPECT_EQ(ReadRows(List(true)),
              (Rows{"Alpha", "Mail", "Clock", "Straße", "日本語", "Delta", "Écho", "Foxtrot"}));
    EXPECT_EQ(ReadRows(List(false)), Rows{"Notes"});
    EXPECT_EQ(Shown(0), "1 current item / 0 selected ");
    EXPECT_FALSE(Enabled("CommandProcess"));
    SendMessageA(List(false), LB_SETSEL, TRUE, 0);
    const HWND current = List(false);
    POINT below = RowPoint(true, 7, true, current);
    below.y += 40;
    Mouse(current, WM_LBUTTONDOWN, RowPoint(false, 0, false, current));
    Mouse(current, WM_MOUSEMOVE, below);
    Mouse(current, WM_LBUTTONUP, below);
    EXPECT_EQ(ReadRows(List(true)).back(), "Notes");
    EXPECT_EQ(Shown(1), "9 new items / 1 selected ");
    EXPECT_TRUE(Enabled("CommandProcess"));
}
