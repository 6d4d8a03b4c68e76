// The control on a real window: its system menu as the platform reports it and the hook.
#include "TestHost.h"
#include "controls/systemmenu/SystemMenu.h"
#include "win32/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

struct Entry {
    UINT id, type, state;
    std::string text;
    bool operator==(const Entry&) const = default;
};
using Menu = std::vector<Entry>;
using Messages = std::vector<std::pair<UINT, WPARAM>>;

// Separators' state bits differ between platforms (Wine marks them greyed): left out.
Menu Snapshot(HMENU menu) {
    Menu entries;
    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
        char text[256] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        const UINT state =
            info.fType & MFT_SEPARATOR ? 0 : info.fState & (MFS_GRAYED | MFS_CHECKED);
        entries.push_back({info.wID, info.fType, state, text});
    }
    return entries;
}

// The holding window's procedure before the hook: records what still reaches it.
Messages reached;
WNDPROC original = nullptr;
LRESULT CALLBACK Previous(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND || msg == WM_CLOSE || msg == WM_DESTROY)
        reached.emplace_back(msg, wParam);
    return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

// The main window's control: a separator, then the About command.
cw::PropertyBag MainWindowDesign() {
    cw::PropertyBag bag;
    bag.WriteInt16("count", 2, 0);
    bag.WriteInt32("systemmenuitemstyle(0)", cw::smSeparator, 0);
    bag.WriteString("systemmenuitemtext(1)", "&About Clutterwise...", "");
    return bag;
}

const Entry kSeparator{0, MFT_SEPARATOR, 0, ""};
const Entry kAbout{1, MFT_STRING, 0, "&About Clutterwise..."};

struct RunningControl : ::testing::Test {
    RunningControl() {
        reached.clear();
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Previous)));
        control.ItemClick = [this](cw::SystemMenuItem& item) { clicked.push_back(&item); };
        control.ReadProperties(MainWindowDesign());
    }
    ~RunningControl() override { control.Terminate(); }
    // The control's entries, after the platform's, which must stay as they were: the standard
    // separator carries command number 0 too.
    Menu Ours() const {
        const Menu now = Snapshot(menu);
        const auto end =
            now.begin() + static_cast<std::ptrdiff_t>(std::min(now.size(), platform.size()));
        EXPECT_EQ(Menu(now.begin(), end), platform);
        return Menu(end, now.end());
    }
    cw::SystemMenuItem& Item(std::int16_t i) { return *control.SystemMenuItem(i); }
    void SysCommand(WPARAM command) { SendMessageA(window, WM_SYSCOMMAND, command, 0); }

    cwtest::TestHost host;
    HWND window = host.ContainerHwnd();
    HMENU menu = GetSystemMenu(window, FALSE);
    const Menu platform = Snapshot(menu);
    cw::SystemMenu control{host};
    std::vector<cw::SystemMenuItem*> clicked;
};

TEST_F(RunningControl, AppendsItsEntriesOnceGreysThemAndDropsLoweredOnes) {
    ASSERT_NE(std::count(platform.begin(), platform.end(), kSeparator), 0);
    EXPECT_EQ(Ours(), (Menu{kSeparator, kAbout}));
    control.SetEnabled(false);
    EXPECT_EQ(Ours(), (Menu{kSeparator, {1, MFT_STRING, MFS_GRAYED, kAbout.text}}));
    control.SetEnabled(true);
    control.SetCount(4);
    control.SetCount(2);
    EXPECT_EQ(Ours(), (Menu{kSeparator, kAbout}));
    for (const std::int16_t index : {std::int16_t{-2}, std::int16_t{2}})
        EXPECT_THROW(control.UpdateSystemMenuItems(index), cw::IndexOutOfRangeError) << index;
    EXPECT_EQ(Ours(), (Menu{kSeparator, kAbout}));
}

// Item 0 is found as the control's entry, not as the platform's first separator.
TEST_F(RunningControl, ItemChangesTouchOnlyTheirEntryAndDeferredOnesRebuildTheSame) {
    const auto change = [this] {
        Item(1).SetChecked(true);
        Item(0).SetStyle(cw::smDefault);
        Item(0).SetText("&Help");
    };
    change();
    const Menu direct{{0, MFT_STRING, 0, "&Help"}, {1, MFT_STRING, MFS_CHECKED, kAbout.text}};
    EXPECT_EQ(Ours(), direct);
    control.ReadProperties(MainWindowDesign());
    control.SetPreventUpdate(true);
    change();
    control.SetPreventUpdate(false);
    EXPECT_EQ(Ours(), (Menu{kSeparator, kAbout}));
    control.UpdateSystemMenuItems(-1);
    EXPECT_EQ(Ours(), direct);
}

// Commands are whole signed values: a negative one, or one whose low bits read 1, is not ours.
TEST_F(RunningControl, OwnCommandsRaiseItemClickAndOthersPassOnUntilTerminate) {
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, 1, 0), 0);
    EXPECT_EQ(clicked, std::vector<cw::SystemMenuItem*>{&Item(1)});
    EXPECT_TRUE(reached.empty());
    const WPARAM others[] = {2, static_cast<WPARAM>(std::numeric_limits<LONG_PTR>::min() + 1),
                             static_cast<WPARAM>(0x7FFF0001)};
    for (const WPARAM command : others)
        SysCommand(command);
    control.Terminate();
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Previous));
    EXPECT_EQ(Ours(), (Menu{kSeparator, kAbout}));
    SysCommand(1);
    EXPECT_EQ(reached, (Messages{{WM_SYSCOMMAND, 2},
                                 {WM_SYSCOMMAND, others[1]},
                                 {WM_SYSCOMMAND, others[2]},
                                 {WM_SYSCOMMAND, 1}}));
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(RunningControl, CloseCommandStillClosesTheWindow) {
    SysCommand(SC_CLOSE);
    EXPECT_EQ(reached, (Messages{{WM_SYSCOMMAND, SC_CLOSE}, {WM_CLOSE, 0}, {WM_DESTROY, 0}}));
    EXPECT_FALSE(IsWindow(window));
}

TEST(DesignTime, LeavesTheMenuAloneAndStaysTwentyEightPixelsSquare) {
    cwtest::TestHost host;
    host.userMode = false;
    const Menu before = Snapshot(GetSystemMenu(host.ContainerHwnd(), FALSE));
    cw::SystemMenu control{host};
    host.Attach(control.Hwnd());
    control.ReadProperties(MainWindowDesign());
    EXPECT_EQ(Snapshot(GetSystemMenu(host.ContainerHwnd(), FALSE)), before);
    host.SetSize(600, 450);
    EXPECT_TRUE(control.ClientWidth() == 28 && control.ClientHeight() == 28);
}

} // namespace
