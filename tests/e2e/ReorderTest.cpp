// A user arranges the new order of the real program with the real keyboard and mouse (xdotool on
// the test's display), then processes it: the files are stamped in the arranged order.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "RealInput.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace cwtest;

namespace {

using Texts = std::vector<std::string>;

Texts Without(Texts rows, const std::string& row) {
    rows.erase(std::find(rows.begin(), rows.end(), row));
    return rows;
}

int TopRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
}

} // namespace

TEST(ProgramReorder, ArrangedByRealKeysAndDragsThenStampedInThatOrder) {
    std::string whyNot;
    if (!HaveRealInput(whyNot))
        GTEST_SKIP() << whyNot;
    // Oldest first: Straße, 日本語, Écho, then Row 03 to Row 29; more rows than the list shows.
    const TempFolder desktop;
    const long long t = LocalSecondsNow() - 86400;
    Texts names = {"Straße", "日本語", "Écho"};
    for (int i = 3; i < 30; ++i)
        names.push_back("Row " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (size_t i = 0; i < names.size(); ++i)
        SetLocalStamp(desktop.MakeFile(names[i] + ".lnk", "shortcut"),
                      t + static_cast<long long>(i) * 60);
    const DesktopRedirect redirect(desktop.Path());
    AppDriver program;
    const HWND main = program.WaitForWindow("Norvanta Clutterwise");
    ASSERT_TRUE(main);
    std::vector<HWND> lists = FindChildren(main, "ListBox");
    ASSERT_EQ(lists.size(), 2u);
    RECT a{}, b{};
    GetWindowRect(lists[0], &a);
    GetWindowRect(lists[1], &b);
    const HWND current = a.left < b.left ? lists[0] : lists[1];
    const HWND added = current == lists[0] ? lists[1] : lists[0];
    const HWND process = FindChild(main, "Button", "Process");
    // Every row into the new order, then the last two back (posted: not what is tested here).
    ClickButton(FindChild(main, "Button", "Select All"));
    ClickButton(FindChild(main, "Button", ">>"));
    ASSERT_TRUE(WaitUntil([&] { return Rows(added) == names; }));
    ClickRow(added, 28);
    ClickRow(added, 29, MK_SHIFT);
    ClickButton(FindChild(main, "Button", "<<"));
    ASSERT_TRUE(WaitUntil([&] { return Rows(current) == Texts{"Row 28", "Row 29"}; }));
    SendMessageA(added, LB_SETTOPINDEX, 0, 0);
    const Texts first = {"Straße", "日本語", "Écho"}, tail(names.begin() + 3, names.end() - 2);
    const auto join = [](Texts head, const Texts& rest) {
        head.insert(head.end(), rest.begin(), rest.end());
        return head;
    };
    Texts order = join(first, tail);
    const auto expect = [&](const Texts& rows, const std::vector<int>& selected) {
        EXPECT_TRUE(WaitUntil([&] { return Rows(added) == rows; }));
        EXPECT_EQ(SelectedRows(added), selected);
        order = Rows(added);
    };

    // Keys: a real click selects 日本語 and focuses the list; Alt+arrows move it; Shift+click makes
    // a block that Alt+End sends to the bottom, scrolled into view, and Alt+Home brings back.
    ASSERT_TRUE(Xdotool(MoveTo(RowOnScreen(added, 1)) + " click 1 key alt+Down"));
    expect(join({"Straße", "Écho", "日本語"}, tail), {2});
    ASSERT_TRUE(Xdotool("key alt+Up key alt+Up"));
    const Texts block = {"日本語", "Straße", "Écho"};
    expect(join(block, tail), {0});
    ASSERT_TRUE(Xdotool("keydown shift " + MoveTo(RowOnScreen(added, 2)) + " click 1 keyup shift"));
    ASSERT_TRUE(Xdotool("key alt+End"));
    expect(join(tail, block), {25, 26, 27});
    EXPECT_GT(TopRow(added), 0);
    ASSERT_TRUE(Xdotool("key alt+Home"));
    expect(join(block, tail), {0, 1, 2});
    EXPECT_EQ(TopRow(added), 0);
    ASSERT_TRUE(Xdotool("key ctrl+a"));
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows(added).size() == 28; }));

    // A drag within the list: a line marks the place while dragging; held near the bottom edge
    // the list scrolls; the row lands where it is let go. Escape cancels another drag.
    ASSERT_TRUE(Xdotool(MoveTo(RowOnScreen(added, 0)) + " click 1 sleep 0.7 mousedown 1 " +
                        MoveTo(RowOnScreen(added, 1)) + " sleep 0.1 " +
                        MoveTo(RowOnScreen(added, 3, RowPart::Lower)) + " sleep 0.3"));
    RECT row4{};
    SendMessageA(added, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&row4));
    POINT boundary{20, row4.top};
    ClientToScreen(added, &boundary);
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, boundary.x, boundary.y), GetSysColor(COLOR_WINDOWTEXT));
    ReleaseDC(nullptr, screen);
    RECT listRect{};
    GetWindowRect(added, &listRect);
    const POINT nearBottom{boundary.x, listRect.bottom - 8};
    ASSERT_TRUE(Xdotool(MoveTo(nearBottom) + " sleep 1.5 mouseup 1"));
    EXPECT_TRUE(WaitUntil([&] { return Rows(added) != order; }));
    const Texts dropped = Rows(added);
    const auto landed = std::find(dropped.begin(), dropped.end(), order[0]) - dropped.begin();
    EXPECT_GT(TopRow(added), 0);
    EXPECT_GT(landed, 20); // below the rows the list showed before it scrolled
    EXPECT_EQ(Without(dropped, order[0]), Without(order, order[0]));
    order = dropped;
    ASSERT_TRUE(Xdotool(MoveTo(RowOnScreen(added, static_cast<int>(landed))) + " mousedown 1 " +
                        MoveTo(RowOnScreen(added, static_cast<int>(landed) - 3)) +
                        " sleep 0.2 key Escape mouseup 1"));
    Sleep(300);
    EXPECT_EQ(Rows(added), order);

    // From the current order: each row inserted where it is dropped, as ">>" would append it.
    SendMessageA(added, LB_SETTOPINDEX, 0, 0);
    for (const std::string row : {"Row 28", "Row 29"}) {
        // Apart from the last press by more than the double-click time, as a user's clicks are.
        ASSERT_TRUE(Xdotool("sleep 0.6 " + MoveTo(RowOnScreen(current, 0)) +
                            " click 1 sleep 0.7 mousedown 1 " + MoveTo(RowOnScreen(current, 1)) +
                            " sleep 0.1 " + MoveTo(RowOnScreen(added, 1, RowPart::Upper)) +
                            " sleep 0.2 mouseup 1"));
        order.insert(order.begin() + 1, row);
        EXPECT_TRUE(WaitUntil([&] { return Rows(added) == order; })) << row;
    }
    EXPECT_TRUE(Rows(current).empty());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(process) != FALSE; }));

    // Processed Ascending: the files' times follow the arranged order.
    ClickButton(process);
    ASSERT_TRUE(program.AnswerMessageBox());
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(StampsOf(desktop / (order[i - 1] + ".lnk")).written,
                  StampsOf(desktop / (order[i] + ".lnk")).written)
            << order[i - 1] << " before " << order[i];
}
