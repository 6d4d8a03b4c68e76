// Two system menu controls on one window: each keeps its own entries, commands and hook.
#include "TestHost.h"
#include "controls/systemmenu/SystemMenu.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>

namespace {

cw::PropertyBag Design(const std::string& text) {
    cw::PropertyBag bag;
    bag.WriteInt16("count", 2, 0);
    bag.WriteInt32("systemmenuitemstyle(0)", cw::smSeparator, 0);
    bag.WriteString("systemmenuitemtext(1)", text, "");
    return bag;
}

// Text entries by text: command number and checked state. Wine adds its own "About Wine".
std::map<std::string, std::pair<UINT, bool>> TextEntries(HMENU menu, int* duplicates) {
    std::map<std::string, std::pair<UINT, bool>> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) > 0 &&
            !entries
                 .try_emplace(
                     text, GetMenuItemID(menu, i),
                     (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0)
                 .second)
            ++*duplicates;
    }
    return entries;
}

// Both used to save each other as the replaced procedure (endless recursion), and both answered
// to command 1.
TEST(TwoSystemMenus, EachRaisesItsOwnItemClickAndTheyComeOffInEitherOrder) {
    for (const size_t firstGone : {0u, 1u}) {
        cwtest::TestHost host;
        const HWND window = host.ContainerHwnd();
        const LONG_PTR ownProc = GetWindowLongPtrA(window, GWLP_WNDPROC);
        const std::string texts[] = {"&About", "&Help"};
        std::unique_ptr<cw::SystemMenu> menus[2];
        std::vector<std::string> clicks;
        for (size_t i = 0; i < 2; ++i) {
            menus[i] = std::make_unique<cw::SystemMenu>(host);
            menus[i]->ItemClick = [&clicks, i](cw::SystemMenuItem& item) {
                clicks.push_back(std::to_string(i) + item.Text());
            };
            menus[i]->ReadProperties(Design(texts[i]));
        }
        // A rebuild and a single change of the first leave the second's entries alone.
        menus[0]->SetCount(2);
        menus[0]->SystemMenuItem(1)->SetChecked(true);
        int duplicates = 0;
        const auto entries = TextEntries(GetSystemMenu(window, FALSE), &duplicates);
        EXPECT_EQ(duplicates, 0);
        ASSERT_TRUE(entries.count("&About"));
        ASSERT_TRUE(entries.count("&Help"));
        EXPECT_EQ(entries.at("&About"), std::make_pair(1u, true)); // the first keeps its numbers
        const UINT help = entries.at("&Help").first;
        EXPECT_FALSE(entries.at("&Help").second);

        const auto pick = [&] {
            clicks.clear();
            for (const UINT command : {1u, help})
                SendMessageA(window, WM_SYSCOMMAND, command, 0);
            return clicks;
        };
        EXPECT_EQ(pick(), (std::vector<std::string>{"0&About", "1&Help"}));
        // Commands are whole signed values: a negative one, or one whose low bits read 1, is not
        // ours.
        for (const WPARAM other : {static_cast<WPARAM>(std::numeric_limits<LONG_PTR>::min() + 1),
                                   static_cast<WPARAM>(0x7FFF0001)})
            EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, other, 0), 0);
        EXPECT_EQ(clicks.size(), 2u);
        menus[firstGone]->Terminate();
        EXPECT_EQ(pick(),
                  (std::vector<std::string>{std::to_string(1 - firstGone) + texts[1 - firstGone]}));
        menus[1 - firstGone]->Terminate();
        EXPECT_TRUE(pick().empty());
        EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), ownProc);
    }
}

} // namespace
