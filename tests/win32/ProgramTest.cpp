#include "MessageBoxAnswerer.h"
#include "win32/Program.h"
#include "win32/SingleInstance.h"
#include "win32/VersionInfo.h"

#include <gtest/gtest.h>

using namespace cw;
using cwtest::BoxIcon;
using cwtest::MessageBoxAnswerer;

TEST(Program, ReadsItsOwnVersionInformation) {
    const VersionInfo& v = Program::Version();
    EXPECT_EQ(v.major, 3);
    EXPECT_EQ(v.minor, 7);
    EXPECT_EQ(v.companyName, "Norvanta");
    EXPECT_EQ(v.legalCopyright, "Copyright \xC2\xA9 2026 Norvanta"); // UTF-8 through the narrow API
    EXPECT_EQ(Program::InstanceName(), "Local\\Norvanta.Clutterwise win32 tests.Instance");
    EXPECT_FALSE(VersionInfo::Read("C:\\no\\such\\program.exe"));
}

TEST(Program, ShowsMessageBoxesWithTheProgramTitle) {
    const std::string before = Program::Title();
    Program::SetTitle("Norvanta Clutterwise");
    MessageBoxAnswerer answerer;
    Program::MsgBox("The application is already active", MessageIcon::Exclamation);
    Program::MsgBox("Line one\r\nline two", MessageIcon::Information);
    Program::SetTitle(before);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].title, "Norvanta Clutterwise");
    EXPECT_EQ(answerer.Boxes()[0].text, "The application is already active");
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(answerer.Boxes()[1].icon, BoxIcon::Information);
}

TEST(SingleInstance, SeesAnotherHolderOfTheNameUntilItLetsGo) {
    const std::string name = "Local\\Clutterwise.Test." + std::to_string(GetCurrentProcessId());
    {
        const SingleInstance first(name);
        EXPECT_FALSE(first.AnotherIsRunning());
        const SingleInstance second(name);
        EXPECT_TRUE(second.AnotherIsRunning());
    }
    EXPECT_FALSE(SingleInstance(name).AnotherIsRunning());
}
