#include "MessageBoxAnswerer.h"
#include "TestDesktop.h"
#include "app/FormClutterwise.h"
#include "app/Startup.h"
#include "controls/Components.h"
#include "forms/DesignStore.h"
#include "win32/Program.h"
#include "win32/SingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

class MainWindowStart : public ::testing::Test {
protected:
    void SetUp() override { RegisterComponents(); }
    MessageBoxAnswerer answerer;
};

TEST_F(MainWindowStart, OpensOnTheUsersDesktopFolder) {
    TestDesktop::Clear();
    FormClutterwise form;
    ASSERT_TRUE(form.Load()) << form.LoadError();
    EXPECT_EQ(Program::Title(), "Norvanta Clutterwise");
    EXPECT_EQ(form.DesktopFolder(), TestDesktop::Path() + "\\");
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_FALSE(IsWindowVisible(form.Hwnd())); // shown by the caller once loaded
}

// The caller shows the error; the window says nothing itself and is gone.
TEST_F(MainWindowStart, RefusesADesignWithoutAControlItsCodeUsesNamingIt) {
    for (const std::string name : {"CommandProcess", "StatusBarClutterwise"}) {
        DesignNode design = *LoadDesignResource("FormClutterwise").design;
        std::erase_if(design.children, [&](const DesignNode& node) { return node.name == name; });
        FormClutterwise form;
        EXPECT_FALSE(form.Load(design));
        EXPECT_NE(form.LoadError().find(name), std::string::npos) << form.LoadError();
        EXPECT_FALSE(form.Hwnd());
    }
    EXPECT_TRUE(answerer.Boxes().empty());
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
