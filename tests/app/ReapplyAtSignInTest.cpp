// "Reapply at sign-in" in the private prefix's registry: which values name this program, and the
// data written over a value left by a moved copy. Ticking and clearing the box: MainWindowTest.
#include "app/ReapplyAtSignIn.h"
#include "win32/Program.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace cw;

TEST(ReapplyAtSignIn, TellsThisProgramFromAnotherAndWritesOverIt) {
    static const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const struct Cleanup {
        ~Cleanup() { RemoveSignInValue(); }
    } cleanup;
    const std::string self = Program::Path();
    std::string upper = "\"" + self + "\" /reapply";
    CharUpperA(upper.data());
    const std::tuple<DWORD, std::string, SignInValue> values[] = {
        {REG_SZ, "\"" + self + "\" /undo", SignInValue::Other},
        {REG_SZ, self + " /reapply", SignInValue::Other},
        {REG_EXPAND_SZ, upper, SignInValue::ThisProgram}, // a path in any case is the same
        {REG_BINARY, "1234", SignInValue::Other},
    };
    for (const auto& [type, data, expected] : values) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kRun, "Clutterwise", type, data.c_str(),
                                  static_cast<DWORD>(data.size() + 1)),
                  ERROR_SUCCESS);
        EXPECT_EQ(ReadSignInValue(), expected) << data;
    }
    ASSERT_TRUE(WriteSignInValue());
    char data[1024] = "";
    DWORD size = sizeof data;
    RegGetValueA(HKEY_CURRENT_USER, kRun, "Clutterwise", RRF_RT_REG_SZ, nullptr, data, &size);
    EXPECT_EQ(data, "\"" + self + "\" /reapply");
    ASSERT_TRUE(RemoveSignInValue());
    EXPECT_TRUE(RemoveSignInValue()) << "gone already";
}
