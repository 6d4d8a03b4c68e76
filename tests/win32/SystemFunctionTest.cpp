#include "win32/SystemFunction.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace cw;

// A system library's function found by name and called with its own type; a missing function or
// library is a null function with a reason that names it, never a crash.
TEST(SystemFunction, FindsByNameAndNamesWhatIsMissing) {
    using Ticks = decltype(GetTickCount64);
    const SystemFunction<Ticks> present("kernel32.dll", "GetTickCount64");
    ASSERT_TRUE(present);
    EXPECT_GT(present.Get()(), 0u);
    EXPECT_EQ(present.Error(), "");
    const SystemFunction<Ticks> absent("kernel32.dll", "NoSuchFunction");
    EXPECT_EQ(absent.Get(), nullptr);
    EXPECT_EQ(absent.Error(), "kernel32.dll has no function NoSuchFunction");
    const SystemFunction<Ticks> noLibrary("no-such-library.dll", "GetTickCount64");
    EXPECT_EQ(noLibrary.Get(), nullptr);
    EXPECT_EQ(
        noLibrary.Error().rfind("the system library no-such-library.dll cannot be loaded: ", 0),
        0u);
}
