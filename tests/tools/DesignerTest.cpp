// The designer on a copy of the main window's design (design mode, saving, the property sheet
// driving the pages, its window) and on a user's own design file (a save
// changes the lines of what was edited and nothing else; refusals quote little of the file).
#include "FileStamps.h"
#include "MessageBoxAnswerer.h"
#include "PageDriver.h"
#include "TempFolder.h"
#include "controls/Components.h"
#include "controls/statusbar/StatusBar.h"
#include "forms/PropertyPage.h"
#include "tools/designer/ComponentKinds.h"
#include "tools/designer/DesignDocument.h"
#include "tools/designer/DesignerWindow.h"
#include "tools/designer/PropertySheetHost.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <iterator>

using namespace cw;
using namespace cwtest;

namespace {

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A saved design is written beside the file and put in its place: a new file each time, never the
// old one rewritten, which a failure half-way would leave cut short.
uint64_t FileIdentity(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

// Runs `step` from inside the next modal loop (a property sheet), every 20 ms until it reports
// that it is done.
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

constexpr const char* kDesign = R"(# A window of the user's
begin Form FormSaved
    # the caption, as the user spelled its key
    Caption = "Saved"

    clientwidth = 4000
    futurekey = 12
    begin StatusBar StatusBarSaved
        align = 2
        begin bag
            count = 2
            paneltext(1) = "One"
            # a key of a later version
            panelglow(1) = True
        end
    end
    begin Gadget GadgetSaved
        # a kind this designer does not know
        size = 3
    end
end
)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string WithCrlf(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.insert(at, "\r");
    return text;
}

class DesignerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterComponents(); }
    void SetUp() override {
        const HRSRC found = FindResourceA(nullptr, "FormClutterwise", MAKEINTRESOURCEA(10));
        ASSERT_TRUE(found);
        original.assign(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                        SizeofResource(nullptr, found));
        path = folder.MakeFile("FormClutterwise.design", original);
    }
    void TearDown() override { pendingStep = nullptr; }

    TempFolder folder;
    std::string original;
    std::string path;
};

} // namespace

// (An unedited save leaves the file alone: DesignSave below.)
TEST_F(DesignerTest, OpensInDesignModeAndAFailedOpenOrSaveChangesNothing) {
    DesignDocument document;
    ASSERT_TRUE(document.Open(path));
    EXPECT_FALSE(document.Modified()); // what the components announce while loading is no edit
    const std::string broken = folder.MakeFile("broken.design", "begin Form F\n  end\nend\n");
    EXPECT_FALSE(document.Open(broken));
    EXPECT_NE(document.Error().find("line 3"), std::string::npos) << document.Error();
    EXPECT_TRUE(document.IsOpen());
    EXPECT_EQ(document.Path(), path);

    // A file that cannot be replaced keeps its text, with no half-written file beside it.
    ASSERT_FALSE(document.Insert("StatusBar").empty());
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(document.Save());
    CloseHandle(held);
    EXPECT_NE(document.Error().find("cannot be written"), std::string::npos);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(ReadFileText(path), original);
    const std::string temporary = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    EXPECT_EQ(GetFileAttributesA(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Panel 2's tool tip through Apply: the saved file differs in exactly that key. (Reading them back
// is the components' own tests' part.)
TEST_F(DesignerTest, EditsThroughThePagesChangeExactlyTheirKeysInTheFile) {
    DesignDocument document;
    ASSERT_TRUE(document.Open(path));
    Component* bar = document.FindComponent("StatusBarClutterwise");
    auto panels = MakePropertyPage("StatusBar");
    PropertySheetHost panelsSheet(*panels, {bar});
    WhenModal([&] {
        const HWND sheet = panelsSheet.Sheet();
        if (!sheet)
            return false;
        Scroll(panels->Field("HScrollIndex"), SB_LINERIGHT);
        Scroll(panels->Field("HScrollIndex"), SB_LINERIGHT);
        Type(panels->Field("TextTooltiptext"), "Shows what is being done");
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        EXPECT_TRUE(document.Modified());
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
    });
    ASSERT_TRUE(panelsSheet.Run(nullptr, "StatusBarClutterwise"));

    const uint64_t before = FileIdentity(path);
    ASSERT_TRUE(document.Save()) << document.Error();
    EXPECT_NE(FileIdentity(path), before); // written beside it and put in its place, never in place
    // Without its one new line, the saved file is the original.
    std::string saved = ReadFileText(path);
    const size_t at = saved.find("            paneltooltiptext(2) = \"Shows what is being done\"");
    ASSERT_NE(at, std::string::npos) << saved;
    EXPECT_EQ(saved.erase(at, saved.find('\n', at) + 1 - at), original);
}

TEST_F(DesignerTest, TheWindowKeepsTheDesignInertAndAsksBeforeDroppingChanges) {
    DesignerWindow designer;
    ASSERT_TRUE(designer.Create());
    ASSERT_TRUE(designer.OpenFile(path));
    Form& form = designer.Document().Window();
    const auto send = [&](HWND to, UINT message, WPARAM wParam = 0) {
        MSG msg{to, message, wParam, MAKELPARAM(4, 4), 0, {}};
        return designer.PreTranslate(msg);
    };
    EXPECT_TRUE(send(form.FindControl("CommandProcess")->Hwnd(), WM_LBUTTONDOWN));
    EXPECT_TRUE(send(form.Hwnd(), WM_NCLBUTTONDOWN, HTCLOSE));

    ASSERT_TRUE(designer.InsertComponent("SystemMenu"));
    // The Yes/No/Cancel question has no OK button: the answerer leaves it to this callback.
    MessageBoxAnswerer answerer;
    int answer = 0;
    answerer.onOtherWindow = [&](HWND window) {
        if (TextOf(window) == "Clutterwise Designer") // not the designer's own window coming back
            PostMessageA(window, WM_COMMAND, answer, 0);
    };
    answer = IDCANCEL;
    EXPECT_FALSE(designer.QuerySave());
    answer = IDNO;
    EXPECT_TRUE(designer.QuerySave());
    EXPECT_EQ(ReadFileText(path), original);
    answer = IDYES;
    EXPECT_TRUE(designer.QuerySave());
    EXPECT_NE(ReadFileText(path).find("begin SystemMenu SystemMenu1"), std::string::npos);
}

// Unchanged, the file keeps its bytes and its time; edited, only the edited keys' lines change
// (rewritten in place, added, removed), with the file's own line ends.
TEST(DesignSave, KeepsTheFilesLinesAndLeavesAnUnchangedFileAlone) {
    RegisterComponents();
    const TempFolder folder;
    for (const bool crlf : {false, true}) {
        const std::string original = crlf ? WithCrlf(kDesign) : kDesign;
        const std::string path = folder.MakeFile("Saved.design", original);
        const long long stamp = LocalSecondsNow() - 86400;
        SetLocalStamp(path, stamp);
        DesignDocument document;
        ASSERT_TRUE(document.Open(path)) << document.Error();
        ASSERT_TRUE(document.Save()) << document.Error();
        EXPECT_EQ(ReadFileText(path), original);
        EXPECT_EQ(StampsOf(path).written, stamp);

        auto* bar = dynamic_cast<StatusBar*>(document.FindComponent("StatusBarSaved"));
        ASSERT_NE(bar, nullptr);
        ASSERT_NE(bar->Panel(1), nullptr);
        bar->Panel(1)->SetText("Two");
        bar->Panel(0)->SetText("Zero");
        ASSERT_TRUE(document.Modified());
        ASSERT_TRUE(document.Save()) << document.Error();
        const std::string eol = crlf ? "\r\n" : "\n";
        const std::string expected =
            Replace(Replace(original, "\"One\"", "\"Two\""), "panelglow(1) = True" + eol,
                    "panelglow(1) = True" + eol + "            paneltext(0) = \"Zero\"" + eol);
        EXPECT_EQ(ReadFileText(path), expected);

        bar->Panel(1)->SetText(""); // back to its default: the key goes
        ASSERT_TRUE(document.Save()) << document.Error();
        EXPECT_EQ(ReadFileText(path),
                  Replace(expected, "            paneltext(1) = \"Two\"" + eol, ""));
    }
}
