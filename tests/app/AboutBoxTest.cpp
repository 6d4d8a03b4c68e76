// The About box on its own, and opened from the main window's system menu as the user opens it.
#include "DesktopRedirect.h"
#include "MessageBoxAnswerer.h"
#include "PageDriver.h"
#include "TempFolder.h"
#include "TestHost.h"
#include "app/FormAbout.h"
#include "app/FormClutterwise.h"
#include "controls/Components.h"
#include "forms/Image.h"

#include <gtest/gtest.h>

#include <functional>

using namespace cw;
using namespace cwtest;

namespace {

// Width in pixels of a control's own text in the font it draws with.
int OwnTextWidth(HWND control) {
    const std::string text = TextOf(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

void PressOK(Form& about) {
    SendMessageA(about.FindControl("CommandOK")->Hwnd(), BM_CLICK, 0, 0);
}

// Acts on the About box once it opens, as a user would. The window is found by the message-box
// answerer's activation hook; a hook must not close windows itself, so the action runs from a
// timer in the box's own modal loop. Message boxes meanwhile are answered and recorded.
class AboutBoxUser {
public:
    explicit AboutBoxUser(std::function<void(Form& about)> act) : act_(std::move(act)) {
        boxes.onOtherWindow = [this](HWND window) {
            const Form* form = Form::FromHwnd(window);
            if (!form || form->Name() != "FormAbout" || window == seen_)
                return;
            seen_ = window;
            ++opened;
            SetTimer(window, reinterpret_cast<UINT_PTR>(this), 1, &AboutBoxUser::Tick);
        };
    }

    MessageBoxAnswerer boxes;
    int opened = 0;

private:
    static void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD) {
        KillTimer(window, id);
        if (Form* about = Form::FromHwnd(window))
            reinterpret_cast<AboutBoxUser*>(id)->act_(*about);
    }

    std::function<void(Form&)> act_;
    HWND seen_ = nullptr;
};

// Clicks the web label of an About box showing `address`: whether the box stayed open and no
// message box appeared (the shell's answer is ignored).
bool ClickingWebsiteKeepsTheBoxOpenAndSilent(const std::string& address) {
    FormAbout about;
    about.SetWebsite(address);
    if (!about.Load())
        return false;
    bool open = false;
    AboutBoxUser user([&](Form&) {
        const HWND web = about.FindControl("LabelWebsite")->Hwnd();
        SendMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(web, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        TestHost::Pump();
        open = about.Loaded() && IsWindowVisible(about.Hwnd());
        if (about.Loaded())
            PressOK(about);
    });
    about.ShowModal(nullptr);
    return user.opened == 1 && open && user.boxes.Boxes().empty();
}

} // namespace

// A protocol nobody is registered for: the shell opens nothing and the program says nothing.
TEST(AboutBox, ClickingAnAddressNothingOpensLeavesTheBoxOpenAndSilent) {
    EXPECT_TRUE(ClickingWebsiteKeepsTheBoxOpenAndSilent("clutterwise-test-nowhere:about"));
}

// The main window on an empty Desktop of its own, one for the whole program: Wine keeps the first
// Desktop folder a process asks for, and one gone by then would be reported as missing.
class MainWindowAbout : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponents();
        ASSERT_TRUE(form.Load()) << form.LoadError();
        form.Show();
        TestHost::Pump();
    }
    inline static const TempFolder desktop;
    inline static const DesktopRedirect redirect{desktop.Path()};
    FormClutterwise form;
};

TEST_F(MainWindowAbout, SystemMenuAboutCommandOpensOneBox) {
    HWND shown = nullptr;
    int actions = 0;
    AboutBoxUser user([&](Form& about) {
        shown = about.Hwnd();
        EXPECT_EQ(TextOf(about.Hwnd()), "About Clutterwise"); // from "&About Clutterwise..."
        // What the version block holds, made from project()'s version as the program's is.
        EXPECT_EQ(TextOf(about.FindControl("LabelApplication")->Hwnd()),
                  "Clutterwise " CLUTTERWISE_MAJOR_MINOR);
        // Only the address is the click target, not the empty rest of its row.
        const HWND web = about.FindControl("LabelWebsite")->Hwnd();
        RECT r{};
        GetWindowRect(web, &r);
        EXPECT_EQ(r.right - r.left, OwnTextWidth(web));
        EXPECT_LT(r.right - r.left, 3855 / 15);
        EXPECT_EQ(about.Get<Image>("ImageIcon").GetPicture(), form.Icon());
        EXPECT_EQ(GetWindow(about.Hwnd(), GW_OWNER), form.Hwnd());
        EXPECT_FALSE(IsWindowEnabled(form.Hwnd()));
        EXPECT_EQ(form.MousePointer(), kPointerHourglass);
        if (++actions == 1) // a second command reaches the disabled window: no second box
            SendMessageA(form.Hwnd(), WM_SYSCOMMAND, 1, 0);
        PressOK(about);
    });
    SendMessageA(form.Hwnd(), WM_SYSCOMMAND, 1, 0); // returns once the box is closed
    EXPECT_EQ(user.opened, 1);
    EXPECT_NE(shown, nullptr);
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_TRUE(IsWindowEnabled(form.Hwnd()));
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
    EXPECT_EQ(GetActiveWindow(), form.Hwnd()); // activation came back without help
    EXPECT_TRUE(user.boxes.Boxes().empty());
}
