// The About box on its own, and opened from the main window's system menu as the user opens it.
#include "DesktopRedirect.h"
#include "MessageBoxAnswerer.h"
#include "PageDriver.h"
#include "TempFolder.h"
#include "TestHost.h"
#include "app/FormAbout.h"
#include "app/FormClutterwise.h"
#include "controls/Components.h"
#include "controls/infoframe/InfoFrame.h"
#include "controls/statusbar/StatusBar.h"
#include "forms/Image.h"
#include "forms/Label.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

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

RECT PlaceIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Acts on the About box once it opens, as a user would. The window is found by the message-box
// answerer's activation hook; a hook must not close windows itself, so the action runs from a
// timer in the box's own modal loop. Message boxes meanwhile are answered and recorded.
class AboutBoxUser {
public:
    explicit AboutBoxUser(std::function<void(Form& about)> act) : act_(std::move(act)) {
        current = this;
        boxes.onOtherWindow = [this](HWND window) {
            Form* form = Form::FromHwnd(window);
            if (!form || form->Name() != "FormAbout" || window == seen_)
                return;
            seen_ = window;
            ++opened;
            pending_ = form;
            SetTimer(nullptr, 0, 1, &AboutBoxUser::Tick);
        };
    }
    ~AboutBoxUser() { current = nullptr; }

    static void PressOK(Form& about) {
        SendMessageA(about.FindControl("CommandOK")->Hwnd(), BM_CLICK, 0, 0);
    }

    MessageBoxAnswerer boxes;
    int opened = 0;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (current && current->pending_) {
            Form* about = std::exchange(current->pending_, nullptr);
            current->act_(*about);
        }
    }

    static inline AboutBoxUser* current = nullptr;
    std::function<void(Form&)> act_;
    HWND seen_ = nullptr;
    Form* pending_ = nullptr;
};

// A protocol of this test's own: opening an address writes it into a file, and nothing else (no
// browser) can be reached through it. Registered in the classes root of the private prefix: Wine 8
// does not look for protocols among the user's own classes (HKCU\Software\Classes).
class RecordingProtocol {
public:
    static constexpr const char* kKey = "clutterwise-test-record";
    explicit RecordingProtocol(const std::string& file) {
        const std::string command = "cmd.exe /c echo %1>\"" + file + "\"";
        RegSetKeyValueA(HKEY_CLASSES_ROOT, kKey, "URL Protocol", REG_SZ, "", 1);
        RegSetKeyValueA(HKEY_CLASSES_ROOT, (std::string(kKey) + "\\shell\\open\\command").c_str(),
                        nullptr, REG_SZ, command.c_str(), static_cast<DWORD>(command.size() + 1));
    }
    ~RecordingProtocol() { RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey); }
};

// Clicks the web label of an About box showing `address`: whether the box stayed open and no
// message box appeared.
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
            AboutBoxUser::PressOK(about);
    });
    about.ShowModal(nullptr);
    return user.opened == 1 && open && user.boxes.Boxes().empty();
}

} // namespace

TEST(AboutCaption, DropsAmpersandsThenEllipses) {
    EXPECT_EQ(AboutCaption("&About Clutterwise..."), "About Clutterwise");
    EXPECT_EQ(AboutCaption("Information"), "Information"); // nothing to drop: unchanged
    EXPECT_EQ(AboutCaption("&Help && Tips"), "Help  Tips");
    EXPECT_EQ(AboutCaption("A....B"), "A.B");
    EXPECT_EQ(AboutCaption(".&.."), ""); // the ellipsis forms once the ampersand is gone
    EXPECT_EQ(AboutCaption(""), "");
}

TEST(AboutBox, ClickingTheWebAddressOpensItAndLeavesTheBoxOpen) {
    const TempFolder folder;
    const std::string record = folder / "opened.txt";
    const RecordingProtocol protocol(record);
    EXPECT_TRUE(ClickingWebsiteKeepsTheBoxOpenAndSilent("clutterwise-test-record:about"));
    std::string opened;
    for (int i = 0; i < 200 && opened.empty(); ++i, Sleep(50))
        std::getline(std::ifstream(record), opened);
    EXPECT_EQ(opened, "clutterwise-test-record:about");
    // A protocol nobody is registered for: the shell opens nothing and the program says nothing.
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

TEST_F(MainWindowAbout, SystemMenuEndsWithTheAboutCommandWhichOpensTheBox) {
    // Entries by command number. Wine adds "About Wine" of its own when the menu is first made,
    // so ours still end it; the standard separator before Close carries number 0 as well.
    const HMENU menu = GetSystemMenu(form.Hwnd(), FALSE);
    const int last = GetMenuItemCount(menu) - 1;
    EXPECT_EQ(GetMenuItemID(menu, last), 1u);
    EXPECT_EQ(GetMenuItemID(menu, last - 1), 0u);
    EXPECT_TRUE(GetMenuState(menu, last - 1, MF_BYPOSITION) & MF_SEPARATOR);
    char text[64] = "";
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About Clutterwise...");

    HWND shown = nullptr;
    int actions = 0;
    AboutBoxUser user([&](Form& about) {
        shown = about.Hwnd();
        EXPECT_EQ(TextOf(about.Hwnd()), "About Clutterwise");
        EXPECT_EQ(TextOf(about.FindControl("LabelApplication")->Hwnd()), "Clutterwise 1.0");
        EXPECT_EQ(TextOf(about.FindControl("LabelCopyright")->Hwnd()),
                  "Copyright \xC2\xA9 2026 Norvanta");
        const HWND web = about.FindControl("LabelWebsite")->Hwnd();
        EXPECT_EQ(TextOf(web), "https://www.example.com/clutterwise/");
        // Only the text is the click target; the label keeps its place and height.
        const RECT r = PlaceIn(about.Hwnd(), web);
        EXPECT_EQ(r.right - r.left, OwnTextWidth(web));
        EXPECT_LT(r.right - r.left, 3855 / 15);
        EXPECT_EQ(r.left, 64);
        EXPECT_EQ(r.top, 54);
        EXPECT_EQ(r.bottom - r.top, 17);
        EXPECT_EQ(about.Get<Image>("ImageIcon").GetPicture(), form.Icon());
        EXPECT_EQ(GetWindow(about.Hwnd(), GW_OWNER), form.Hwnd());
        EXPECT_FALSE(IsWindowEnabled(form.Hwnd()));
        EXPECT_EQ(form.MousePointer(), kPointerHourglass);
        // Another About command meanwhile opens no second box.
        if (++actions == 1)
            SendMessageA(form.Hwnd(), WM_SYSCOMMAND, 1, 0);
        AboutBoxUser::PressOK(about);
    });
    SendMessageA(form.Hwnd(), WM_SYSCOMMAND, 1, 0); // returns once the box is closed
    EXPECT_EQ(user.opened, 1);
    EXPECT_TRUE(shown && !IsWindow(shown));
    EXPECT_TRUE(IsWindowEnabled(form.Hwnd()));
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
    EXPECT_EQ(GetActiveWindow(), form.Hwnd()); // activation came back without help
    EXPECT_TRUE(user.boxes.Boxes().empty());
}

TEST_F(MainWindowAbout, HeaderAlongTheTopAndStatusBarAlongTheBottom) {
    const auto* header = form.GetComponent<InfoFrame>("InfoFrameClutterwise");
    const auto* status = form.GetComponent<StatusBar>("StatusBarClutterwise");
    ASSERT_TRUE(header && status);
    using Edges = std::array<LONG, 4>;
    const auto edgesOf = [&](HWND child) {
        const RECT r = PlaceIn(form.Hwnd(), child);
        return Edges{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ(edgesOf(header->Hwnd()), (Edges{0, 0, 721, 63}));
    HDC dc = GetDC(header->Hwnd());
    EXPECT_EQ(GetPixel(dc, 600, 10), RGB(80, 97, 121));
    ReleaseDC(header->Hwnd(), dc);

    EXPECT_EQ(edgesOf(status->Hwnd()), (Edges{0, 400, 721, 420})); // 300 twips high
    int edges[4] = {};
    EXPECT_EQ(SendMessageA(status->ControlHwnd(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)),
              3);
    EXPECT_EQ(edges[2], 721); // the spring panel ends at the window's edge
    EXPECT_EQ(LOWORD(SendMessageA(status->ControlHwnd(), SB_GETTEXTLENGTHA, 2, 0)), 0);
}
