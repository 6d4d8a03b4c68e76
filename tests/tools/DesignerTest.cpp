// The designer on a copy of the main window's design: design mode, saving, the property sheet
// driving the pages, inserting components, and its window.
#include "PageDriver.h"
#include "TempFolder.h"
#include "controls/Components.h"
#include "controls/infoframe/InfoFrame.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/systemmenu/SystemMenu.h"
#include "forms/DesignStore.h"
#include "tools/designer/ComponentKinds.h"
#include "tools/designer/DesignDocument.h"
#include "tools/designer/DesignerWindow.h"
#include "tools/designer/PropertySheetHost.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

using namespace cw;
using namespace cwtest;

namespace {

constexpr int kApplyButton = 0x3021; // the property sheet's Apply

std::string MainDesignText() {
    HRSRC found = FindResourceA(nullptr, "FormClutterwise", MAKEINTRESOURCEA(10));
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const auto* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string(data, SizeofResource(nullptr, found)) : std::string();
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Lines of `a` that `b` lacks (as many times as they are missing).
std::vector<std::string> Missing(const std::string& a, const std::string& b) {
    const auto la = Lines(a), lb = Lines(b);
    std::vector<std::string> out;
    std::set_difference(la.begin(), la.end(), lb.begin(), lb.end(), std::back_inserter(out));
    return out;
}

// Runs `step` from inside the next modal loop (a property sheet, a message box), every 20 ms
// until it reports that it is done.
std::function<bool()> pendingStep;

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (!pendingStep || pendingStep()) {
        pendingStep = nullptr;
        KillTimer(nullptr, id);
    }
}

void WhenModal(std::function<bool()> step) {
    pendingStep = std::move(step);
    SetTimer(nullptr, 0, 20, &Tick);
}

struct BoxSearch {
    std::string title;
    HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<BoxSearch*>(param);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (IsWindowVisible(window) && lstrcmpA(cls, "#32770") == 0 && TextOf(window) == search.title)
        search.box = window;
    return TRUE;
}

// Answers this thread's next message box titled `title` with the button `answer`.
void Answer(const std::string& title, int answer) {
    WhenModal([title, answer] {
        BoxSearch search{title};
        EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.box)
            PostMessageA(search.box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        return search.box != nullptr;
    });
}

class DesignerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterComponents(); }
    void SetUp() override {
        original = MainDesignText();
        ASSERT_FALSE(original.empty());
        path = folder.MakeFile("FormClutterwise.design", original);
    }
    void TearDown() override { pendingStep = nullptr; }

    TempFolder folder;
    std::string original;
    std::string path;
};

} // namespace

TEST_F(DesignerTest, OpensInDesignModeAndSavesAnUneditedDesignAsItWasOrNotAtAll) {
    for (const bool crlf : {false, true}) {
        std::string text = original;
        if (crlf)
            for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
                text.insert(at, "\r");
        folder.MakeFile("FormClutterwise.design", text);
        DesignDocument document;
        ASSERT_TRUE(document.Open(path)) << document.Error();
        EXPECT_FALSE(document.Modified()); // what the components announce while loading is no edit
        const auto components = document.Components();
        ASSERT_EQ(components.size(), 3u);
        EXPECT_EQ(components[0].name + components[1].name + components[2].name,
                  "SystemMenuClutterwiseInfoFrameClutterwiseStatusBarClutterwise");
        ASSERT_TRUE(document.Save()) << document.Error();
        EXPECT_EQ(ReadFileText(path), text) << (crlf ? "CRLF" : "LF");
    }

    // Design mode: the system-menu control shows its framed icon and touches no menu; the status
    // bar has no tool tips and no hook.
    folder.MakeFile("FormClutterwise.design", original);
    DesignDocument document;
    ASSERT_TRUE(document.Open(path));
    HWND form = document.Window().Hwnd();
    const auto* menu = dynamic_cast<SystemMenu*>(document.FindComponent("SystemMenuClutterwise"));
    ASSERT_TRUE(menu);
    EXPECT_TRUE(GetWindowLongPtrA(menu->Hwnd(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(menu->ClientWidth() == 28 && menu->ClientHeight() == 28);
    EXPECT_EQ(GetMenuState(GetSystemMenu(form, FALSE), 1, MF_BYCOMMAND), static_cast<UINT>(-1));
    const auto* bar = dynamic_cast<StatusBar*>(document.FindComponent("StatusBarClutterwise"));
    ASSERT_TRUE(bar);
    EXPECT_EQ(GetPropA(bar->Hwnd(), "StatusBar"), nullptr);
    EXPECT_EQ(SendMessageA(bar->TipHwnd(), TTM_GETTOOLCOUNT, 0, 0), 0);

    // A broken file leaves the open design as it was.
    const std::string broken = folder.MakeFile("broken.design", "begin Form F\n  end\nend\n");
    EXPECT_FALSE(document.Open(broken));
    EXPECT_NE(document.Error().find("line 3"), std::string::npos) << document.Error();
    EXPECT_TRUE(document.IsOpen() && document.Path() == path);

    // A file that cannot be replaced keeps its text, with no half-written file beside it.
    ASSERT_FALSE(document.Insert("StatusBar").empty());
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_FALSE(document.Save());
    CloseHandle(held);
    EXPECT_NE(document.Error().find("cannot be written"), std::string::npos);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(ReadFileText(path), original);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder / "*.saving").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

// Panel 2's tool tip through Apply, item 1's caption through OK; the saved file differs in
// exactly those keys, and the program's window built from it shows both.
TEST_F(DesignerTest, EditsThroughThePagesReachTheFileAndTheProgram) {
    DesignDocument document;
    ASSERT_TRUE(document.Open(path));
    Component* bar = document.FindComponent("StatusBarClutterwise");
    auto panels = MakePropertyPage("StatusBar");
    PropertySheetHost panelsSheet(*panels, {bar});
    WhenModal([&] {
        HWND sheet = panelsSheet.Sheet();
        if (!sheet)
            return false;
        EXPECT_FALSE(Enabled(GetDlgItem(sheet, kApplyButton)));
        Scroll(panels->Field("HScrollIndex"), SB_LINERIGHT);
        Scroll(panels->Field("HScrollIndex"), SB_LINERIGHT);
        Type(panels->Field("TextTooltiptext"), "Shows what is being done");
        EXPECT_TRUE(Enabled(GetDlgItem(sheet, kApplyButton)));
        EXPECT_FALSE(document.Modified());
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        EXPECT_TRUE(document.Modified());
        EXPECT_FALSE(panels->Changed());
        EXPECT_FALSE(Enabled(GetDlgItem(sheet, kApplyButton)));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
    });
    ASSERT_TRUE(panelsSheet.Run(nullptr, "StatusBarClutterwise"));
    EXPECT_EQ(dynamic_cast<StatusBar*>(bar)->Panel(2)->ToolTipText(), "Shows what is being done");

    auto items = MakePropertyPage("SystemMenu");
    PropertySheetHost itemsSheet(*items, {document.FindComponent("SystemMenuClutterwise")});
    WhenModal([&] {
        if (!itemsSheet.Sheet())
            return false;
        Scroll(items->Field("HScrollIndex"), SB_LINERIGHT);
        Type(items->Field("TextText"), "&About Clutterwise 1.0...");
        PostMessageA(itemsSheet.Sheet(), PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
    });
    ASSERT_TRUE(itemsSheet.Run(nullptr, "SystemMenuClutterwise"));

    ASSERT_TRUE(document.Save()) << document.Error();
    const std::string saved = ReadFileText(path);
    EXPECT_EQ(
        Missing(original, saved),
        std::vector<std::string>{"            systemmenuitemtext(1) = \"&About Clutterwise...\""});
    EXPECT_EQ(Missing(saved, original),
              (std::vector<std::string>{
                  "            paneltooltiptext(2) = \"Shows what is being done\"",
                  "            systemmenuitemtext(1) = \"&About Clutterwise 1.0...\""}));

    Form program; // in user mode, as the program loads its main window
    const DesignLoad load = LoadDesignFile(path);
    ASSERT_TRUE(load.design && program.Load(*load.design)) << load.error << program.LoadError();
    const auto* runningBar = program.GetComponent<StatusBar>("StatusBarClutterwise");
    ASSERT_TRUE(runningBar);
    char tip[80] = "";
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = runningBar->ControlHwnd();
    tool.uId = 2;
    tool.lpszText = tip;
    SendMessageA(runningBar->TipHwnd(), TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tip, "Shows what is being done");
    char entry[80] = "";
    GetMenuStringA(GetSystemMenu(program.Hwnd(), FALSE), 1, entry, sizeof entry, MF_BYCOMMAND);
    EXPECT_STREQ(entry, "&About Clutterwise 1.0...");
}

TEST_F(DesignerTest, InsertedComponentsStartFromTheirInitialPropertiesAndAreSaved) {
    DesignDocument document;
    ASSERT_TRUE(document.Open(path));
    for (const InsertableKind& kind : InsertableKinds())
        EXPECT_EQ(document.Insert(kind.kind, kind.layout), std::string(kind.kind) + "1");
    EXPECT_EQ(document.Insert("Button"), "");
    EXPECT_TRUE(document.Modified());
    const auto* bar = dynamic_cast<StatusBar*>(document.FindComponent("StatusBar1"));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->Count(), 0);
    EXPECT_EQ(bar->Host().GetAlign(), Align::Bottom);
    const auto* header = dynamic_cast<InfoFrame*>(document.FindComponent("InfoFrame1"));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Text(), "InfoFrame1"); // the last header on the window is the new one
    EXPECT_EQ(header->ClientHeight(), 63);

    ASSERT_TRUE(document.Save());
    const auto added = Missing(ReadFileText(path), original);
    EXPECT_NE(std::find(added.begin(), added.end(), "    begin StatusBar StatusBar1"), added.end());
    EXPECT_NE(std::find(added.begin(), added.end(), "        align = 2"), added.end());
    DesignDocument reopened;
    ASSERT_TRUE(reopened.Open(path));
    EXPECT_EQ(reopened.Components().size(), 6u);
    EXPECT_EQ(reopened.FindComponent("StatusBar1")->Host().GetAlign(), Align::Bottom);
    EXPECT_EQ(dynamic_cast<InfoFrame*>(reopened.FindComponent("InfoFrame1"))->Text(), "InfoFrame1");
}

TEST_F(DesignerTest, TheWindowKeepsTheDesignInertAndAsksBeforeDroppingChanges) {
    DesignerWindow designer;
    ASSERT_TRUE(designer.Create());
    ASSERT_TRUE(designer.OpenFile(path));
    EXPECT_EQ(designer.Selected(), "SystemMenuClutterwise");
    Form& form = designer.Document().Window();
    const auto send = [&](HWND to, UINT message, WPARAM wParam = 0) {
        MSG msg{to, message, wParam, MAKELPARAM(4, 4), 0, {}};
        return designer.PreTranslate(msg);
    };
    EXPECT_TRUE(send(form.FindControl("CommandProcess")->Hwnd(), WM_LBUTTONDOWN));
    EXPECT_EQ(designer.Selected(), "");
    EXPECT_TRUE(
        send(form.GetComponent<StatusBar>("StatusBarClutterwise")->ControlHwnd(), WM_LBUTTONDOWN));
    EXPECT_EQ(designer.Selected(), "StatusBarClutterwise");
    EXPECT_TRUE(send(form.FindControl("ListItemsCurrent")->Hwnd(), WM_KEYDOWN, VK_DOWN));
    EXPECT_TRUE(send(form.Hwnd(), WM_NCLBUTTONDOWN, HTCLOSE));
    EXPECT_FALSE(send(form.Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION)); // moving it is fine
    EXPECT_FALSE(send(designer.Hwnd(), WM_LBUTTONDOWN));

    ASSERT_TRUE(designer.InsertComponent("SystemMenu"));
    EXPECT_EQ(designer.Selected(), "SystemMenu1");
    EXPECT_EQ(TextOf(designer.Hwnd()), "FormClutterwise.design* - Clutterwise Designer");
    Answer("Clutterwise Designer", IDCANCEL);
    EXPECT_FALSE(designer.QuerySave());
    Answer("Clutterwise Designer", IDNO);
    EXPECT_TRUE(designer.QuerySave());
    EXPECT_EQ(ReadFileText(path), original);
    Answer("Clutterwise Designer", IDYES);
    EXPECT_TRUE(designer.QuerySave());
    EXPECT_NE(ReadFileText(path).find("begin SystemMenu SystemMenu1"), std::string::npos);
    EXPECT_EQ(TextOf(designer.Hwnd()), "FormClutterwise.design - Clutterwise Designer");
}
