#include "AppDriver.h"
#include "Components.h"
#include "DesktopRedirect.h"
#include "FormClutterwise.h"
#include "MessageBoxAnswerer.h"
#include "Program.h"
#include "Startup.h"
#include "TempFolder.h"
#include "SingleInstance.h"
#include "VersionInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using namespace cw;
using namespace cwtest;

TEST(Startup, TitlesMessageBoxesWithTheCompanyName) {
    EXPECT_EQ(ProgramTitle("Norvanta"), "Norvanta Clutterwise");
    EXPECT_EQ(ProgramTitle(""), "Clutterwise");
}

TEST(Startup, TakesOnlyADesktopFolderLongerThanOneCharacter) {
    EXPECT_FALSE(IsUsableDesktopFolder(""));
    EXPECT_FALSE(IsUsableDesktopFolder("\\"));
    EXPECT_TRUE(IsUsableDesktopFolder("C:\\"));
    EXPECT_TRUE(IsUsableDesktopFolder("C:\\users\\me\\Desktop\\"));
}

TEST(Startup, ProgramCarriesItsVersionInformation) {
    const auto version = VersionInfo::Read(ProgramPath());
    ASSERT_TRUE(version) << ProgramPath();
    EXPECT_EQ(version->companyName, "Norvanta");
    EXPECT_EQ(version->productName, "Clutterwise");
    EXPECT_EQ(version->major, 1);
    EXPECT_EQ(version->minor, 0);
    EXPECT_EQ(version->legalCopyright, "Copyright \xC2\xA9 2026 Norvanta");
}

class MainWindowStart : public ::testing::Test {
protected:
    void SetUp() override { RegisterComponents(); }
    TempFolder desktop;
    MessageBoxAnswerer answerer;
};

// Wine resolves the shell's Desktop folder once per process and keeps it: this is the only test of
// this program that asks, so it sees its redirect.
TEST_F(MainWindowStart, OpensOnTheUsersDesktopFolder) {
    DesktopRedirect redirect(desktop.Path());
    FormClutterwise form;
    ASSERT_TRUE(form.Load()) << form.LoadError();
    EXPECT_EQ(Program::Title(), "Norvanta Clutterwise");
    EXPECT_EQ(form.DesktopFolder(), desktop.Path() + "\\");
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_FALSE(IsWindowVisible(form.Hwnd())); // shown by the caller once loaded
}

// Run by CTest on its own (CLUTTERWISE_TEST_ALREADY_ACTIVE): the instance mutex must be taken
// before this process first asks for it, and the answer holds for the process.
TEST_F(MainWindowStart, RefusesASecondInstanceBeforeShowingItsWindow) {
    if (!std::getenv("CLUTTERWISE_TEST_ALREADY_ACTIVE"))
        GTEST_SKIP() << "runs as test_app_already_active";
    const SingleInstance other(Program::InstanceName());
    FormClutterwise form;
    HWND created = nullptr;
    bool everVisible = false;
    form.On("Form_Unload", [&] {
        created = form.Hwnd();
        everVisible = IsWindowVisible(form.Hwnd()) != FALSE;
    });
    EXPECT_FALSE(form.Load());
    EXPECT_TRUE(form.LoadError().empty());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].title, "Norvanta Clutterwise");
    EXPECT_EQ(answerer.Boxes()[0].text, "The application is already active");
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_TRUE(created);
    EXPECT_FALSE(everVisible);
    EXPECT_FALSE(IsWindow(created));
    EXPECT_TRUE(form.DesktopFolder().empty()); // nothing else happened
}

// The real program, twice: the second start shows exactly one message box, never a window of
// its own, and ends; the first runs on. (The box's icon is checked in-process above: under Wine
// icon handles do not compare across processes.)
TEST(SecondInstance, GetsOneMessageBoxAndNoWindow) {
    AppDriver first;
    const HWND main = first.WaitForWindow("Norvanta Clutterwise");
    ASSERT_TRUE(main);

    AppDriver second;
    const auto box = second.AnswerMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, "Norvanta Clutterwise");
    EXPECT_EQ(box->text, "The application is already active");
    EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0)); // a second box would keep it running
    EXPECT_TRUE(second.TopLevelWindows().empty());

    EXPECT_FALSE(first.WaitForExit(0));
    EXPECT_TRUE(IsWindowVisible(main));
}

// A Desktop that resolves to nothing: the program ends at once, without a window or a word.
TEST(MissingDesktop, EndsTheProgramSilently) {
    DesktopRedirect redirect("");
    AppDriver program;
    bool sawWindow = false;
    std::optional<DWORD> exit;
    for (int i = 0; i < 200 && !exit; ++i) {
        sawWindow = sawWindow || !program.TopLevelWindows().empty();
        exit = program.WaitForExit(50);
    }
    EXPECT_EQ(exit, std::optional<DWORD>(0));
    EXPECT_FALSE(sawWindow);
}
