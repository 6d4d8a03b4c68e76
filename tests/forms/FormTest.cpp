#include "TempFolder.h"
#include "TestHost.h"
#include "forms/BusyCursor.h"
#include "forms/Component.h"
#include "forms/ComponentFactory.h"
#include "forms/DesignStore.h"
#include "forms/DesignText.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "win32/Twips.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace cw;
using cwtest::TempFolder;
using cwtest::TestHost;

namespace {

const char* const kDesign = R"(begin Form FormTest
    caption = "Test window"
    borderstyle = 1
    minbutton = True
    maxbutton = False
    startupposition = 2
    icon = picture("res:1")
    clientwidth = 7200
    clientheight = 4500
    begin Strip StripTop
        align = 1
        height = 600
        begin bag
            text = "top"
        end
    end
    begin Unheard UnheardOne
        left = 10
        begin bag
            anything = &H12&
        end
    end
    begin Frame FrameMain
        caption = "Main"
        left = 150
        top = 750
        width = 4500
        height = 3000
        tabindex = 0
        begin Label LabelTitle
            caption = "Items:"
            left = 240
            top = 300
            width = 1500
            height = 255
            tabindex = 1
            forecolor = &H00FF0000&
            font = font("MS Sans Serif", 8.25, underline)
            mousepointer = 99
            mouseicon = picture("res:2")
        end
        begin ListBox ListItems
            left = 240
            top = 600
            width = 2000
            height = 2100
            tabindex = 2
        end
        begin OptionButton OptionUp
            caption = "Up"
            left = 2500
            top = 600
            width = 1215
            height = 255
            tabindex = 3
        end
        begin OptionButton OptionDown
            caption = "Down"
            left = 2500
            top = 960
            width = 1215
            height = 255
            tabindex = 4
            value = True
        end
    end
    begin CommandButton CommandGo
        caption = "&Go"
        left = 5000
        top = 750
        width = 1575
        height = 375
        tabindex = 5
        enabled = nonsense
    end
    begin Image ImageIcon
        left = 5000
        top = 1500
        width = 480
        height = 480
        picture = picture("res:1")
    end
    begin Line LineWhite
        x1 = 4950
        y1 = 2250
        x2 = 6900
        y2 = 2250
        bordercolor = &H00FFFFFF&
    end
    begin Strip StripBottom
        align = 2
        height = 300
    end
end
)";

// A component that records what its host does with it.
class Strip : public Component {
public:
    explicit Strip(ComponentHost& host) : Component(host) {
        Log().push_back(host.Name() + " created");
    }
    void InitProperties() override { Log().push_back(Host().Name() + " init"); }
    void ReadProperties(const PropertyBag& bag) override {
        text = bag.ReadString("Text", "").value_or("");
        Log().push_back(Host().Name() + " read " + text);
    }
    void WriteProperties(PropertyBag& bag) const override { bag.WriteString("Text", text, ""); }
    void Resize() override { Log().push_back(Host().Name() + " resize"); }
    void Terminate() override { Log().push_back(Host().Name() + " terminate"); }
    void MouseClick(int button, int x, int y) override { Mouse("click", button, x, y); }
    void MouseDblClick(int button, int x, int y) override { Mouse("dblclick", button, x, y); }
    void Mouse(const char* what, int button, int x, int y) {
        Log().push_back(Host().Name() + " " + what + " " + std::to_string(button) + " at " +
                        std::to_string(x) + "," + std::to_string(y));
    }

    static std::vector<std::string>& Log() {
        static std::vector<std::string> log;
        return log;
    }
    std::string text;
};

DesignNode Parse(const char* text) {
    DesignReadResult read = ReadDesign(text);
    EXPECT_TRUE(read.design) << DescribeDesignError(read.error);
    return read.design.value_or(DesignNode{});
}

RECT PlaceInForm(const Form& form, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::array<LONG, 4> Edges(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Asks the form which pointer to show over `control`, as the mouse moving over it does.
void PointAt(const Form& form, HWND control) {
    SendMessageA(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ComponentFactory::Register(
            "Strip", [](ComponentHost& host) { return std::make_unique<Strip>(host); });
        Strip::Log().clear();
        ASSERT_TRUE(form.Load(Parse(kDesign))) << form.LoadError();
    }
    void TearDown() override { ComponentFactory::Unregister("Strip"); }

    void Command(const Control& control, int notification) {
        // As the control sends it: to its parent, which for a control on a frame is the frame.
        SendMessageA(GetParent(control.Hwnd()), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(control.Hwnd()), notification),
                     reinterpret_cast<LPARAM>(control.Hwnd()));
    }

    Form form;
};

} // namespace

TEST(Twips, ConvertWithTheScreensTwipsPerPixel) {
    EXPECT_EQ(TwipsToPixels(10815, 15), 721);
    EXPECT_EQ(TwipsToPixels(6300, 15), 420);
    EXPECT_EQ(TwipsToPixels(730, 15), 49);    // rounds to the nearest pixel
    EXPECT_EQ(TwipsToPixels(10815, 12), 901); // 120 dots per inch
    EXPECT_EQ(PixelsToTwips(63, 15), 945);
    EXPECT_EQ(HimetricToTwips(741), 420);
    EXPECT_EQ(TwipsToHimetric(420), 741);
    EXPECT_EQ(TwipsToHimetric(10815), 19076);
    EXPECT_EQ(TwipsToPixels(2147483647, 0.001), 2147483647); // clamped, not wrapped
    EXPECT_DOUBLE_EQ(ScreenTwipsPerPixelX(), 15.0);          // the test display runs at 96 dpi
}

TEST_F(FormTest, BuildsTheWindowFromItsDesign) {
    RECT client{};
    GetClientRect(form.Hwnd(), &client);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(client.bottom, 300);
    char caption[64] = "";
    GetWindowTextA(form.Hwnd(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Test window");
    const LONG_PTR style = GetWindowLongPtrA(form.Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongPtrA(form.Hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(IsWindowVisible(form.Hwnd()));
    EXPECT_TRUE(SendMessageA(form.Hwnd(), WM_GETICON, ICON_BIG, 0));
}

TEST_F(FormTest, PlacesControlsInTheirContainersInPixels) {
    const Control& list = form.Get<ListBox>("ListItems");
    ASSERT_TRUE(list.Hwnd());
    EXPECT_EQ(GetParent(list.Hwnd()), form.Get<Control>("FrameMain").Hwnd());
    const RECT r = PlaceInForm(form, list.Hwnd());
    EXPECT_EQ(Edges(r), (std::array<LONG, 4>{26, 90, 26 + 133, 90 + 140})); // no integral height
    const LONG_PTR style = GetWindowLongPtrA(list.Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_EXTENDEDSEL);
    EXPECT_FALSE(style & LBS_SORT);
    const RECT go = PlaceInForm(form, form.Get<Control>("CommandGo").Hwnd());
    EXPECT_EQ(go.left, 333);
    EXPECT_EQ(go.top, 50);
    // A value that does not convert keeps the control's default.
    EXPECT_TRUE(form.Get<Control>("CommandGo").Enabled());
    EXPECT_TRUE(form.Get<OptionButton>("OptionDown").Value());
    EXPECT_FALSE(form.Get<OptionButton>("OptionUp").Value());
}

TEST_F(FormTest, OrdersTabStopsByTabIndexAcrossFrames) {
    const ListBox& list = form.Get<ListBox>("ListItems");
    HWND first = GetNextDlgTabItem(form.Hwnd(), nullptr, FALSE);
    EXPECT_EQ(first, list.Hwnd());
    HWND second = GetNextDlgTabItem(form.Hwnd(), first, FALSE);
    EXPECT_EQ(second, form.Get<OptionButton>("OptionDown").Hwnd()); // the group's selected option
    EXPECT_EQ(GetNextDlgTabItem(form.Hwnd(), second, FALSE), form.Get<Control>("CommandGo").Hwnd());
    // Clicking the other option moves the group's tab stop with the selection.
    auto& up = form.Get<OptionButton>("OptionUp");
    up.SetValue(true);
    EXPECT_FALSE(form.Get<OptionButton>("OptionDown").Value());
    EXPECT_EQ(GetNextDlgTabItem(form.Hwnd(), first, FALSE), up.Hwnd());
}

TEST_F(FormTest, RoutesControlEventsToTheNamedHandlers) {
    std::vector<std::string> calls;
    form.On("CommandGo_Click", [&] { calls.push_back("go"); });
    form.On("ListItems_Click", [&] { calls.push_back("list click"); });
    form.On("listitems_dblclick", [&] { calls.push_back("list dblclick"); }); // names ignore case
    form.On("OptionUp_Click", [&] { calls.push_back("up"); });
    form.On("LabelTitle_Click", [&] { calls.push_back("label"); });
    form.OnKeyDown("ListItems_KeyDown", [&](int& key, int shift) {
        calls.push_back("key " + std::to_string(key) + " " + std::to_string(shift));
        key = 0;
    });
    Command(form.Get<Control>("CommandGo"), BN_CLICKED);
    Command(form.Get<Control>("ListItems"), LBN_SELCHANGE);
    Command(form.Get<Control>("ListItems"), LBN_DBLCLK);
    Command(form.Get<Control>("OptionUp"), BN_CLICKED);
    Command(form.Get<Control>("LabelTitle"), STN_CLICKED);
    Command(form.Get<Control>("CommandGo"), BN_SETFOCUS); // raises nothing
    SendMessageA(form.Get<ListBox>("ListItems").Hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"go", "list click", "list dblclick", "up", "label",
                                               "key 13 0"}));
}

// The dialog manager would turn Enter into a default-button command; the list keeps it.
TEST_F(FormTest, LetsAListHaveTheEnterKey) {
    const HWND list = form.Get<ListBox>("ListItems").Hwnd();
    MSG enter{list, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(SendMessageA(list, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                DLGC_WANTMESSAGE);
    MSG tab{list, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(SendMessageA(list, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) &
                 DLGC_WANTMESSAGE);
}

TEST_F(FormTest, ListBoxKeepsRowsInTheirOrderAndReportsSelections) {
    auto& list = form.Get<ListBox>("ListItems");
    for (const char* row : {"Notes", "Calculator", "Straße", "日本語"})
        list.AddItem(row);
    ASSERT_EQ(list.ListCount(), 4);
    EXPECT_EQ(list.List(0), "Notes");
    EXPECT_EQ(list.List(3), "日本語");
    EXPECT_EQ(list.List(4), "");
    list.SetSelected(1, true);
    list.SetSelected(3, true);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.Selected(3));
    list.RemoveItem(1);
    EXPECT_EQ(list.List(1), "Straße");
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(FormTest, GivesLabelsTheirColourFontAndPointer) {
    const auto& label = form.Get<Label>("LabelTitle");
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(form.Get<Control>("FrameMain").Hwnd(), WM_CTLCOLORSTATIC,
                 reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label.Hwnd()));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    DeleteDC(dc);

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label.Hwnd(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(font.lfHeight, -11);

    PointAt(form, label.Hwnd());
    EXPECT_EQ(GetCursor(), reinterpret_cast<HCURSOR>(label.MouseIcon().Handle()));
    {
        BusyCursor busy(form);
        EXPECT_EQ(form.MousePointer(), kPointerHourglass);
        PointAt(form, label.Hwnd());
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
        { BusyCursor nested(form); }
        EXPECT_EQ(form.MousePointer(), kPointerHourglass);
    }
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
}

TEST_F(FormTest, DrawsLinesAndImagesOnTheForm) {
    form.Show();
    TestHost::Pump();
    HDC dc = GetDC(form.Hwnd());
    EXPECT_EQ(GetPixel(dc, 330, 150), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 460, 150), RGB(255, 255, 255)); // the end point is drawn too
    EXPECT_NE(GetPixel(dc, 461, 150), RGB(255, 255, 255));
    // The icon's top tile: the image shows the picture at its own size.
    const RECT image = PlaceInForm(form, form.Get<Control>("ImageIcon").Hwnd());
    EXPECT_EQ(GetPixel(dc, image.left + 5, image.top + 6), RGB(0x2A, 0x9D, 0x8F));
    ReleaseDC(form.Hwnd(), dc);
}

TEST_F(FormTest, CreatesComponentsInDesignOrderAndDocksThem) {
    // Docking resizes each window as it is placed; starting ends with a resize of its own.
    EXPECT_EQ(Strip::Log(), (std::vector<std::string>{"StripTop created", "StripTop resize",
                                                      "StripTop read top", "StripTop resize",
                                                      "StripBottom created", "StripBottom resize",
                                                      "StripBottom init", "StripBottom resize"}));
    auto* top = form.GetComponent<Strip>("StripTop");
    auto* bottom = form.GetComponent<Strip>("stripbottom");
    ASSERT_TRUE(top && bottom);
    EXPECT_EQ(form.FindComponent("UnheardOne"), nullptr);
    EXPECT_EQ(Edges(PlaceInForm(form, top->Hwnd())), (std::array<LONG, 4>{0, 0, 480, 40}));
    const RECT b = PlaceInForm(form, bottom->Hwnd());
    EXPECT_EQ(b.top, 280);
    EXPECT_EQ(b.right, 480);
    EXPECT_EQ(top->Host().Width(), 7200);
    EXPECT_EQ(top->Host().ContainerClientWidth(), 480);
    const auto infos = top->Host().ContainerControls();
    ASSERT_EQ(infos.size(), 10u); // the unknown kind created nothing
    EXPECT_EQ(infos[0].name, "StripTop");
    EXPECT_EQ(infos[0].kind, "Strip");
    EXPECT_EQ(infos[2].kind, "Label");

    // Clicks on a component's surface come with the button and the place.
    SendMessageA(top->Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(7, 30));
    SendMessageA(bottom->Hwnd(), WM_RBUTTONDBLCLK, 0, MAKELPARAM(470, 2));
    EXPECT_EQ(Strip::Log()[Strip::Log().size() - 2], "StripTop click 1 at 7,30");
    EXPECT_EQ(Strip::Log().back(), "StripBottom dblclick 2 at 470,2");

    top->Host().PropertyChanged("text");
    EXPECT_EQ(form.ChangedProperties(), std::vector<std::string>{"StripTop.text"});

    form.Unload();
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(Strip::Log().back(), "StripBottom terminate");
    EXPECT_EQ(Strip::Log()[Strip::Log().size() - 2], "StripTop terminate");
}

TEST_F(FormTest, SavesComponentBagsAndKeepsUnknownEntriesAsTheyWere) {
    form.GetComponent<Strip>("StripTop")->text = "changed";
    const DesignNode saved = form.SaveDesign();
    const DesignNode& top = saved.children[0];
    EXPECT_EQ(top.bag.ReadString("text", "").value(), "changed");
    EXPECT_EQ(top.bag.ReadInt32("_extentx", 0).value(), 12700);
    EXPECT_EQ(top.bag.ReadInt32("_extenty", 0).value(), 1058);
    EXPECT_EQ(saved.children[1], Parse(kDesign).children[1]);
    EXPECT_TRUE(saved.children.back().hasBag); // the new component now has a saved state

    TempFolder folder;
    ASSERT_TRUE(SaveDesignFile(folder / "FormTest.design", saved));
    const DesignLoad loaded = LoadDesignFile(folder / "FormTest.design");
    ASSERT_TRUE(loaded.design) << loaded.error;
    EXPECT_EQ(*loaded.design, saved);
    EXPECT_FALSE(LoadDesignFile(folder / "missing.design").design);
}

TEST_F(FormTest, LetsAHandlerUnloadItsOwnForm) {
    form.On("CommandGo_Click", [&] { form.Unload(); });
    form.On("ListItems_KeyDown", [&] { form.Unload(); });
    Command(form.Get<Control>("CommandGo"), BN_CLICKED);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.Get<Control>("CommandGo").Hwnd(), nullptr);
    // Controls outlive the window and accept calls without effect.
    form.Get<ListBox>("ListItems").AddItem("x");
    EXPECT_EQ(form.Get<ListBox>("ListItems").ListCount(), 0);
    // Loading again builds a fresh window.
    ASSERT_TRUE(form.Load(Parse(kDesign)));
    EXPECT_TRUE(IsWindow(form.Get<Control>("CommandGo").Hwnd()));
}

namespace {

class ModalForm : public Form {
public:
    HWND owner = nullptr;
    bool ownerEnabledInside = true;
    RECT placed{};
    int loads = 0, unloads = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload() override {
        ++unloads;
        ownerEnabledInside = IsWindowEnabled(owner);
        GetWindowRect(Hwnd(), &placed);
    }
};

} // namespace

TEST_F(FormTest, ShowsModallyCentredOverItsOwnerWithTheOwnerDisabled) {
    form.Show();
    ModalForm box;
    box.owner = form.Hwnd();
    ASSERT_TRUE(box.Load(Parse(R"(begin Form FormBox
        borderstyle = 3
        startupposition = 1
        clientwidth = 3000
        clientheight = 1500
        begin CommandButton CommandOK
            caption = "OK"
        end
    end)"),
                         form.Hwnd()));
    EXPECT_EQ(box.loads, 1);
    const LONG_PTR style = GetWindowLongPtrA(box.Hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(GetWindowLongPtrA(box.Hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    box.On("CommandOK_Click", [&] { box.Unload(); });
    PostMessageA(box.Hwnd(), WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED),
                 reinterpret_cast<LPARAM>(box.Get<Control>("CommandOK").Hwnd()));
    box.ShowModal(form.Hwnd());
    EXPECT_FALSE(box.Loaded());
    EXPECT_EQ(box.unloads, 1);
    EXPECT_FALSE(box.ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(form.Hwnd()));
    RECT owner{};
    GetWindowRect(form.Hwnd(), &owner);
    EXPECT_NEAR((box.placed.left + box.placed.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((box.placed.top + box.placed.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
}

TEST(FormLoad, ReadsItsDesignFromTheProgramsResourcesAndRefusesWhatIsNoWindow) {
    Form sample("FormSample");
    ASSERT_TRUE(sample.Load()) << sample.LoadError();
    EXPECT_EQ(sample.Caption(), "Sample");
    EXPECT_EQ(sample.Get<OptionButton>("OptionOne").Value(), true);
    Form missing("FormMissing");
    EXPECT_FALSE(missing.Load());
    EXPECT_NE(missing.LoadError().find("FormMissing"), std::string::npos);
    DesignNode notAForm;
    notAForm.kind = "Frame";
    notAForm.name = "FrameAlone";
    Form frame;
    EXPECT_FALSE(frame.Load(notAForm));
    EXPECT_FALSE(frame.LoadError().empty());
}

// Values out of every range: the window still opens, with sane sizes.
TEST(FormLoad, SurvivesValuesOutOfRange) {
    Form form;
    ASSERT_TRUE(form.Load(Parse(R"(begin Form FormWild
        borderstyle = 77
        clientwidth = 2147483647
        clientheight = -5
        font = font("No Such Font", 9999)
        icon = picture("res:99999")
        begin Label LabelWild
            left = -2147483648
            width = 2147483647
            font = font("", 0)
            mouseicon = picture("file:C:\\nowhere.ico")
            mousepointer = 99
        end
        begin Line LineWild
            borderwidth = 100000
        end
    end)")));
    EXPECT_EQ(form.GetBorderStyle(), BorderStyle::Sizable);
    form.Show();
    TestHost::Pump();
    PointAt(form, form.Get<Label>("LabelWild").Hwnd());
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}
