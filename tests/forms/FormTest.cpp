// Forms built from FormSample.design (a resource of this program): places, tab order, events,
// pointers, components' life, and designs that are out of range or no window.
#include "TestHost.h"
#include "forms/BusyCursor.h"
#include "forms/Component.h"
#include "forms/ComponentFactory.h"
#include "forms/DesignStore.h"
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

namespace {

// A component that logs what its host does with it.
class Strip : public Component {
public:
    explicit Strip(ComponentHost& host) : Component(host) { Note("created"); }
    void InitProperties() override { Note("init"); }
    void ReadProperties(const PropertyBag& bag) override {
        text = bag.ReadString("Text", "").value_or("");
        Note("read " + text);
    }
    void WriteProperties(PropertyBag& bag) const override { bag.WriteString("Text", text, ""); }
    void Resize() override { Note("resize"); }
    void Terminate() override { Note("terminate"); }
    void Note(const std::string& what) const { log.push_back(Host().Name() + " " + what); }

    static inline std::vector<std::string> log;
    std::string text;
};

// A window's edges in the form's client pixels.
std::array<LONG, 4> PlaceInForm(HWND form, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// FormSample with a handler for each event the tests raise: each notes what it got.
class SampleForm : public Form {
public:
    SampleForm() : Form("FormSample") {
        BindEvents<SampleForm>({
            {"CommandGo", Event::Click, &SampleForm::CommandGo_Click},
            {"ListItems", Event::Click, &SampleForm::ListItems_Click},
            {"listitems", Event::DblClick, &SampleForm::ListItems_DblClick},
            {"OptionUp", Event::Click, &SampleForm::OptionUp_Click},
            {"LabelTitle", Event::Click, &SampleForm::LabelTitle_Click},
            {"ListItems", Event::KeyDown, &SampleForm::ListItems_KeyDown},
        });
    }

    std::vector<std::string> calls;
    bool goUnloads = false;

private:
    void CommandGo_Click() {
        calls.push_back("CommandGo_Click");
        if (goUnloads)
            Unload();
    }
    void ListItems_Click() { calls.push_back("ListItems_Click"); }
    void ListItems_DblClick() { calls.push_back("ListItems_DblClick"); }
    void OptionUp_Click() { calls.push_back("OptionUp_Click"); }
    void LabelTitle_Click() { calls.push_back("LabelTitle_Click"); }
    void ListItems_KeyDown(int& key, int shift) {
        calls.push_back("key " + std::to_string(key) + " " + std::to_string(shift));
        key = 0;
    }
};

// A form of FormSample's design with the one handler its table gives.
struct OneHandler : Form {
    explicit OneHandler(std::initializer_list<EventBinding<OneHandler>> table)
        : Form("FormSample") {
        BindEvents(table);
    }
    void Handler() {}
};

// The pointer the form shows over `control`, asked as the mouse moving over it asks.
HCURSOR PointerOver(const Form& form, HWND control) {
    SendMessageA(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ComponentFactory::Register(
            "Strip", [](ComponentHost& host) { return std::make_unique<Strip>(host); });
        Strip::log.clear();
        ASSERT_TRUE(form.Load()) << form.LoadError();
    }
    void TearDown() override { ComponentFactory::Unregister("Strip"); }

    HWND Hwnd(const char* name) { return form.Get<Control>(name).Hwnd(); }
    // As the control sends it: to its parent, which for a control on a frame is the frame.
    void Command(const char* name, int notification) {
        SendMessageA(GetParent(Hwnd(name)), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(Hwnd(name)), notification),
                     reinterpret_cast<LPARAM>(Hwnd(name)));
    }

    SampleForm form;
};

} // namespace

TEST(Twips, ConvertRoundedToTheNearestPixelAndClamped) {
    EXPECT_EQ(TwipsToPixels(730, 15), 49);
    EXPECT_EQ(TwipsToPixels(2147483647, 0.001), 2147483647); // clamped, not wrapped
    EXPECT_EQ(PixelsToTwips(63, 15), 945);
    EXPECT_EQ(HimetricToTwips(741), 420);
}

TEST_F(FormTest, OrdersTabStopsByTabIndexAcrossFramesWithOneStopPerOptionGroup) {
    const HWND first = GetNextDlgTabItem(form.Hwnd(), nullptr, FALSE);
    EXPECT_EQ(first, Hwnd("ListItems"));
    const HWND second = GetNextDlgTabItem(form.Hwnd(), first, FALSE);
    EXPECT_EQ(second, Hwnd("OptionDown")); // the group's selected option
    EXPECT_EQ(GetNextDlgTabItem(form.Hwnd(), second, FALSE), Hwnd("CommandGo"));
    form.Get<OptionButton>("OptionUp").SetValue(true);
    EXPECT_FALSE(form.Get<OptionButton>("OptionDown").Value());
    EXPECT_EQ(GetNextDlgTabItem(form.Hwnd(), first, FALSE), Hwnd("OptionUp"));
}

TEST_F(FormTest, RoutesControlEventsToTheBoundHandlersAndLetsAListHaveEnter) {
    Command("CommandGo", BN_CLICKED);
    Command("ListItems", LBN_SELCHANGE);
    Command("ListItems", LBN_DBLCLK);
    Command("OptionUp", BN_CLICKED);
    Command("LabelTitle", STN_CLICKED);
    Command("CommandGo", BN_SETFOCUS); // raises nothing
    SendMessageA(Hwnd("ListItems"), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form.calls,
              (std::vector<std::string>{"CommandGo_Click", "ListItems_Click", "ListItems_DblClick",
                                        "OptionUp_Click", "LabelTitle_Click", "key 13 0"}));
    // The dialog manager would turn Enter into a default-button command: the list asks for it,
    // and leaves Tab to the dialog manager.
    for (const WPARAM key : {VK_RETURN, VK_TAB}) {
        MSG msg{Hwnd("ListItems"), WM_KEYDOWN, key, 0, 0, {0, 0}};
        const LRESULT code =
            SendMessageA(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
        EXPECT_EQ((code & DLGC_WANTMESSAGE) != 0, key == VK_RETURN) << key;
    }
}

TEST_F(FormTest, GivesLabelsTheirColourFontAndPointerAndKeepsTheHourglassOverNesting) {
    const auto& label = form.Get<Label>("LabelTitle");
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(Hwnd("FrameMain"), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label.Hwnd()));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    DeleteDC(dc);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label.Hwnd(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(font.lfHeight, -11);

    EXPECT_EQ(PointerOver(form, label.Hwnd()), label.MouseIcon().Handle());
    {
        BusyCursor busy(form);
        EXPECT_EQ(PointerOver(form, label.Hwnd()), LoadCursor(nullptr, IDC_WAIT));
        { BusyCursor nested(form); }
        EXPECT_EQ(form.MousePointer(), kPointerHourglass); // the inner one gives back the hourglass
    }
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
}

TEST_F(FormTest, DrawsLinesImagesAndTheFacesOfFrames) {
    form.Show();
    cwtest::TestHost::Pump();
    HDC dc = GetDC(form.Hwnd());
    EXPECT_EQ(GetPixel(dc, 330, 150), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 460, 150), RGB(255, 255, 255)); // the end point is drawn too
    EXPECT_NE(GetPixel(dc, 461, 150), RGB(255, 255, 255));
    // The image shows the picture at its own size: the icon's top tile.
    const auto image = PlaceInForm(form.Hwnd(), Hwnd("ImageIcon"));
    EXPECT_EQ(GetPixel(dc, image[0] + 5, image[1] + 6), RGB(0x2A, 0x9D, 0x8F));
    // The form clips its children: a frame that left its inside unpainted would show black.
    EXPECT_EQ(GetPixel(dc, 280, 200), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(form.Hwnd(), dc);
}

TEST_F(FormTest, StartsComponentsInDesignOrderDocksThemAndTerminatesThem) {
    // Docking resizes each window as it is placed; starting ends with a resize of its own.
    EXPECT_EQ(Strip::log, (std::vector<std::string>{"StripTop created", "StripTop resize",
                                                    "StripTop read top", "StripTop resize",
                                                    "StripBottom created", "StripBottom resize",
                                                    "StripBottom init", "StripBottom resize"}));
    auto* top = form.GetComponent<Strip>("StripTop");
    auto* bottom = form.GetComponent<Strip>("stripbottom");
    ASSERT_TRUE(top);
    ASSERT_TRUE(bottom);
    EXPECT_EQ(form.FindComponent("UnheardOne"), nullptr);
    EXPECT_EQ(PlaceInForm(form.Hwnd(), top->Hwnd()), (std::array<LONG, 4>{0, 0, 480, 40}));
    EXPECT_EQ(PlaceInForm(form.Hwnd(), bottom->Hwnd()), (std::array<LONG, 4>{0, 280, 480, 300}));
    EXPECT_EQ(top->Host().Width(), 7200);
    const auto infos = top->Host().ContainerControls();
    ASSERT_EQ(infos.size(), 10u); // the unknown kind created nothing
    EXPECT_EQ(infos[2].name + " " + infos[2].kind, "LabelTitle Label"); // in design order
    top->Host().PropertyChanged("text");
    EXPECT_EQ(form.ChangedProperties(), std::vector<std::string>{"StripTop.text"});
    form.Unload();
    EXPECT_EQ(std::vector(Strip::log.end() - 2, Strip::log.end()),
              (std::vector<std::string>{"StripTop terminate", "StripBottom terminate"}));
}

TEST_F(FormTest, SavesComponentBagsAndKeepsUnknownEntriesAsTheyWere) {
    form.GetComponent<Strip>("StripTop")->text = "changed";
    const DesignNode saved = form.SaveDesign();
    const DesignNode& top = saved.children[0];
    EXPECT_EQ(top.bag.ReadString("text", "").value(), "changed");
    EXPECT_EQ(top.bag.ReadInt32("_extentx", 0).value(), 12700);
    EXPECT_EQ(top.bag.ReadInt32("_extenty", 0).value(), 1058);
    EXPECT_EQ(saved.children[1], LoadDesignResource("FormSample").design->children[1]);
    EXPECT_TRUE(saved.children.back().hasBag); // the new component now has a saved state
}

TEST_F(FormTest, LetsAHandlerUnloadItsOwnFormAndLoadsAFreshWindowAfterwards) {
    form.goUnloads = true;
    Command("CommandGo", BN_CLICKED);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(Hwnd("CommandGo"), nullptr);
    // Controls outlive the window: calls do nothing.
    form.Get<ListBox>("ListItems").AddItem("x");
    EXPECT_EQ(form.Get<ListBox>("ListItems").ListCount(), 0);
    ASSERT_TRUE(form.Load());
    EXPECT_TRUE(IsWindow(Hwnd("CommandGo")));
    // A name the design lacks, or a control of another kind, is a broken design.
    EXPECT_THROW(form.Get<ListBox>("ListNowhere"), MissingControl);
    EXPECT_THROW(form.Get<ListBox>("CommandGo"), MissingControl);
}

// Refused, naming what is wrong, and no window left: a design the program lacks, one that is no
// window's, and a handler table that names a control the design lacks or an event the control
// does not raise (checked as the window is built).
TEST(FormLoad, RefusesWhatItCannotBuildNamingTheFault) {
    DesignNode frame;
    frame.kind = "Frame";
    frame.name = "FrameAlone";
    Form absent("FormMissing"), framed;
    OneHandler missing({{"CommandGone", Event::Click, &OneHandler::Handler}});
    OneHandler eventless({{"FrameMain", Event::Click, &OneHandler::Handler}});
    const std::pair<Form*, std::string> cases[] = {
        {&absent, "design FormMissing: the program holds no such design"},
        {&framed, "design FrameAlone: not a window's design"},
        {&missing, "design FormSample: no control CommandGone for the handler CommandGone_Click"},
        {&eventless,
         "design FormSample: control FrameMain raises no Click for the handler FrameMain_Click"}};
    for (const auto& [form, error] : cases) {
        EXPECT_FALSE(form == &framed ? form->Load(frame) : form->Load());
        EXPECT_EQ(form->LoadError(), error);
        EXPECT_EQ(form->Hwnd(), nullptr);
    }
}

TEST(FormLoad, SurvivesValuesOutOfRange) {
    Form form("FormWild");
    ASSERT_TRUE(form.Load()) << form.LoadError();
    EXPECT_EQ(form.GetBorderStyle(), BorderStyle::Sizable);
    form.Show();
    cwtest::TestHost::Pump();
    EXPECT_EQ(PointerOver(form, form.Get<Label>("LabelWild").Hwnd()),
              LoadCursor(nullptr, IDC_ARROW));
}
