#include "TestHost.h"
#include "controls/Components.h"
#include "controls/infoframe/InfoFrame.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/systemmenu/SystemMenu.h"
#include "forms/DesignStore.h"
#include "forms/DesignText.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/ListBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cw;

namespace {

RECT Rect(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The main window's design with the program's components, in a plain form: the toolkit's part.
class MainWindowDesign : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponents();
        ASSERT_TRUE(form.Load()) << form.LoadError();
    }
    void Command(const std::string& name, int notification) {
        const HWND control = form.FindControl(name)->Hwnd();
        SendMessageA(GetParent(control), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(control), notification),
                     reinterpret_cast<LPARAM>(control));
    }
    Form form{"FormClutterwise"};
};

} // namespace

TEST(SavedDesigns, ReadAndWriteBackUnchanged) {
    for (const char* name : {"FormClutterwise", "FormAbout"}) {
        const DesignLoad load = LoadDesignResource(name);
        ASSERT_TRUE(load.design) << load.error;
        const DesignReadResult again = ReadDesign(WriteDesign(*load.design));
        ASSERT_TRUE(again.design) << DescribeDesignError(again.error);
        EXPECT_EQ(*again.design, *load.design) << name;
    }
}

TEST_F(MainWindowDesign, TabsThroughTheControlsInTheirOrder) {
    std::vector<std::string> order;
    HWND at = GetNextDlgTabItem(form.Hwnd(), nullptr, FALSE);
    for (int i = 0; i < 9 && at; ++i, at = GetNextDlgTabItem(form.Hwnd(), at, FALSE))
        for (const auto& c : form.Controls())
            if (c->Hwnd() == at)
                order.push_back(c->Name());
    EXPECT_EQ(order, (std::vector<std::string>{
                         "ListItemsCurrent", "CommandItemsAdd", "CommandItemsRemove",
                         "ListItemsNew", "CommandProcess", "CommandSelectall", "CommandRefresh",
                         "OptionMethodAscending", "ListItemsCurrent"}));
}

TEST_F(MainWindowDesign, CreatesTheComponentsFromTheirSavedState) {
    auto* menu = form.GetComponent<SystemMenu>("SystemMenuClutterwise");
    auto* header = form.GetComponent<InfoFrame>("InfoFrameClutterwise");
    auto* status = form.GetComponent<StatusBar>("StatusBarClutterwise");
    ASSERT_TRUE(menu && header && status);
    EXPECT_EQ(header->Text(), "Clutterwise");
    EXPECT_EQ(header->ForeColor(), 0x00FFFFFFu);
    EXPECT_TRUE(header->Icon().Handle());
    RECT r{};
    GetWindowRect(header->Hwnd(), &r);
    MapWindowPoints(nullptr, form.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(SameRect(r, Rect(0, 0, 721, 63)));
    GetWindowRect(status->Hwnd(), &r);
    MapWindowPoints(nullptr, form.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.bottom, 420);
    EXPECT_EQ(r.right, 721);
    EXPECT_EQ(status->Count(), 3);
    // The About command in the system menu, addressed by its command number.
    char text[64] = "";
    EXPECT_GT(GetMenuStringA(GetSystemMenu(form.Hwnd(), FALSE), 1, text, sizeof text, MF_BYCOMMAND),
              0);
    EXPECT_STREQ(text, "&About Clutterwise...");
    // Saved again, the components' bags come back as they were loaded.
    const DesignNode saved = form.SaveDesign();
    EXPECT_EQ(saved.children[0].bag, form.Design().children[0].bag);
    EXPECT_EQ(saved.children[1].bag, form.Design().children[1].bag);
}

TEST_F(MainWindowDesign, RoutesEventsToTheHandlersNamedAfterTheControls) {
    std::vector<std::string> calls;
    for (const char* handler :
         {"CommandProcess_Click", "CommandItemsAdd_Click", "ListItemsCurrent_Click",
          "ListItemsCurrent_DblClick", "ListItemsNew_Click", "OptionMethodDescending_Click"})
        form.On(handler, [&calls, handler] { calls.push_back(handler); });
    form.OnKeyDown("ListItemsCurrent_KeyDown", [&](int& key, int) {
        calls.push_back("ListItemsCurrent_KeyDown " + std::to_string(key));
    });
    Command("CommandProcess", BN_CLICKED);
    Command("CommandItemsAdd", BN_CLICKED);
    Command("ListItemsCurrent", LBN_SELCHANGE);
    Command("ListItemsCurrent", LBN_DBLCLK);
    Command("ListItemsNew", LBN_SELCHANGE);
    Command("OptionMethodDescending", BN_CLICKED);
    SendMessageA(form.FindControl("ListItemsCurrent")->Hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "CommandProcess_Click", "CommandItemsAdd_Click", "ListItemsCurrent_Click",
                         "ListItemsCurrent_DblClick", "ListItemsNew_Click",
                         "OptionMethodDescending_Click", "ListItemsCurrent_KeyDown 13"}));
}

TEST(AboutBoxDesign, IsAFixedDialogWithItsPanelLinkAndIcon) {
    Form owner("FormClutterwise");
    ASSERT_TRUE(owner.Load());
    owner.Show();
    Form about("FormAbout");
    ASSERT_TRUE(about.Load(owner.Hwnd())) << about.LoadError();
    RECT client{};
    GetClientRect(about.Hwnd(), &client);
    EXPECT_EQ(client.right, 337);
    EXPECT_EQ(client.bottom, 117);
    EXPECT_FALSE(GetWindowLongPtrA(about.Hwnd(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(GetWindowLongPtrA(about.Hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(about.Hwnd(), GW_OWNER), owner.Hwnd());

    const auto& link = about.Get<Label>("LabelWebsite");
    EXPECT_EQ(link.ForeColor(), 0x00FF0000u);
    ASSERT_TRUE(link.OwnFont());
    EXPECT_TRUE(link.OwnFont()->underline);
    EXPECT_EQ(link.MousePointer(), kPointerCustom);
    EXPECT_TRUE(link.MouseIcon().Handle());

    about.Show();
    cwtest::TestHost::Pump();
    HDC dc = GetDC(about.Hwnd());
    EXPECT_EQ(GetPixel(dc, 8, 50), RGB(128, 128, 128));   // LineLeft
    EXPECT_EQ(GetPixel(dc, 100, 8), RGB(128, 128, 128));  // LineTop
    EXPECT_EQ(GetPixel(dc, 328, 50), RGB(255, 255, 255)); // LineRight
    EXPECT_EQ(GetPixel(dc, 100, 76), RGB(255, 255, 255)); // LineBottom
    ReleaseDC(about.Hwnd(), dc);
}
