// "Reapply at sign-in" in the private prefix's registry: the one value it owns, written, read and
// removed; values left by a moved copy or by hand. Removes its value whatever happens.
#include "app/ReapplyAtSignIn.h"
#include "win32/Program.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace cw;

TEST(ReapplyAtSignIn, OwnsOneRunValueAndTellsThisProgramFromAnother) {
    static const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto set = [](DWORD type, const std::string& data) {
        return RegSetKeyValueA(HKEY_CURRENT_USER, kRun, "Clutterwise", type, data.c_str(),
                               static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
    };
    const struct Cleanup {
        ~Cleanup() { RemoveSignInValue(); }
    } cleanup;
    ASSERT_TRUE(RemoveSignInValue());
    EXPECT_EQ(ReadSignInValue(), SignInValue::Absent);

    const std::string self = Program::Path();
    std::string upper = "\"" + self + "\" /reapply";
    CharUpperA(upper.data());
    const std::tuple<DWORD, std::string, SignInValue> values[] = {
        {REG_SZ, "\"C:\\Old place\\clutterwise.exe\" /reapply", SignInValue::Other}, // moved
        {REG_SZ, "\"" + self + "\" /undo", SignInValue::Other},
        {REG_SZ, self + " /reapply", SignInValue::Other},
        {REG_EXPAND_SZ, upper, SignInValue::ThisProgram}, // a path in any case is the same
        {REG_BINARY, "1234", SignInValue::Other},
    };
    for (const auto& [type, data, expected] : values) {
        ASSERT_TRUE(set(type, data));
        EXPECT_EQ(ReadSignInValue(), expected) << data;
    }
    ASSERT_TRUE(WriteSignInValue()); // over what was there
    EXPECT_EQ(ReadSignInValue(), SignInValue::ThisProgram);
    char data[1024] = "";
    DWORD size = sizeof data;
    RegGetValueA(HKEY_CURRENT_USER, kRun, "Clutterwise", RRF_RT_REG_SZ, nullptr, data, &size);
    EXPECT_EQ(data, "\"" + self + "\" /reapply");
    ASSERT_TRUE(RemoveSignInValue());
    EXPECT_EQ(ReadSignInValue(), SignInValue::Absent);
    EXPECT_TRUE(RemoveSignInValue()) << "gone already";
}
