// The system menu control: its items and saved form at design time, its binding to a real
// window's system menu and the hook, and its SystemMenuItems page.
#include "PageDriver.h"
#include "TestHost.h"
#include "controls/systemmenu/SystemMenu.h"
#include "controls/systemmenu/SystemMenuEntry.h"
#include "controls/systemmenu/SystemMenuItemsPage.h"
#include "win32/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace cw;
using namespace cwtest;

namespace {

using Keys = std::vector<std::string>;

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
PropertyBag MainWindowDesign() {
    PropertyBag bag;
    bag.WriteInt16("count", 2, 0);
    bag.WriteInt32("systemmenuitemstyle(0)", smSeparator, 0);
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
    SystemMenuItem& Item(std::int16_t i) { return *control.SystemMenuItem(i); }
    void SysCommand(WPARAM command) { SendMessageA(window, WM_SYSCOMMAND, command, 0); }

    TestHost host;
    HWND window = host.ContainerHwnd();
    HMENU menu = GetSystemMenu(window, FALSE);
    const Menu platform = Snapshot(menu);
    SystemMenu control{host};
};

struct DesignedControl : ::testing::Test {
    DesignedControl() { host.userMode = false; }
    TestHost host;
    SystemMenu control{host};
};

struct SystemMenuItemsPageTest : DesignedControl {
    void SetUp() override {
        control.ReadProperties(MainWindowDesign());
        ASSERT_TRUE(page.Create(pageWindow.ContainerHwnd()));
        Open(control);
    }
    void Open(SystemMenu& shown) {
        page.SetSelectedControls({&shown});
        page.SelectionChanged();
        host.changedKeys.clear();
    }
    HWND F(const char* name) const { return page.Field(name); }
    std::string T(const char* name) const { return TextOf(F(name)); }

    TestHost pageWindow{400, 190};
    SystemMenuItemsPage page;
};

} // namespace

// A stored value that does not convert, or is out of range, skips only its own step; what is
// saved again is what differs from the defaults, in key order.
TEST_F(DesignedControl, ReadsWhatItCanAndSavesOnlyWhatDiffers) {
    PropertyBag bag;
    bag.SetText("count", "-3");
    control.ReadProperties(bag);
    EXPECT_EQ(control.Count(), 0);
    for (const auto& [key, text] : {std::pair{"count", "2"},
                                    {"systemmenuitemstyle(0)", "5"},
                                    {"systemmenuitemtext(0)", "\"Zero\""},
                                    {"systemmenuitemchecked(1)", "\"maybe\""},
                                    {"systemmenuitemstyle(1)", "1"}})
        bag.SetText(key, text);
    control.ReadProperties(bag);
    PropertyBag saved;
    control.WriteProperties(saved);
    Keys written;
    for (const auto& entry : saved.Entries())
        written.push_back(entry.key + "=" + entry.text);
    EXPECT_EQ(written,
              (Keys{"count=2", "systemmenuitemtext(0)=\"Zero\"", "systemmenuitemstyle(1)=1"}));
}

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
        EXPECT_THROW(control.UpdateSystemMenuItems(index), IndexOutOfRangeError) << index;
    EXPECT_EQ(Ours(), (Menu{kSeparator, kAbout}));
}

// Item 0 is found as the control's entry, not as the platform's first separator.
TEST_F(RunningControl, ItemChangesTouchOnlyTheirEntryAndDeferredOnesRebuildTheSame) {
    const auto change = [this] {
        Item(1).SetChecked(true);
        Item(0).SetStyle(smDefault);
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

// Looking on applies nothing; an edit reaches its item when the index moves on.
TEST_F(SystemMenuItemsPageTest, AnEditReachesItsItemBeforeTheNextOneIsShown) {
    EXPECT_FALSE(page.Changed()); // loading raised the fields' events, yet nothing is pending
    Scroll(F("HScrollIndex"), SB_LINERIGHT);
    EXPECT_EQ(T("TextText"), "&About Clutterwise...");
    EXPECT_TRUE(host.changedKeys.empty());
    Type(F("TextText"), "&About...");
    EXPECT_TRUE(page.Changed());
    Scroll(F("HScrollIndex"), SB_LINELEFT);
    EXPECT_EQ(control.SystemMenuItem(1)->Text(), "&About...");
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(control.PreventUpdate());
}
