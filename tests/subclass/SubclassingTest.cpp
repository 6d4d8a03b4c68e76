#include "subclass/Subclassing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cw;

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr const char* kProcName = "TestWindowProc";
std::vector<UINT> hooked; // what HookProc saw

// The procedure a hook replaces: answers kPing with 42.
LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == kPing ? 42 : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    hooked.push_back(msg);
    return CallReplacedProc(hwnd, kProcName, msg, wParam, lParam) + (msg == kPing ? 1 : 0);
}

class SubclassingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = OriginalProc;
        wc.lpszClassName = "SubclassingTestWindow";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        hook.SetOwnerHwnd(window);
        hook.SetWindowProc(kProcName);
        hooked.clear();
    }
    void TearDown() override { DestroyWindow(window); }

    LONG_PTR Proc() const { return GetWindowLongPtrA(window, GWLP_WNDPROC); }
    LONG_PTR Prop(const char* name) const {
        return reinterpret_cast<LONG_PTR>(GetPropA(window, name));
    }

    HWND window = nullptr;
    Subclassing hook;
};

const LONG_PTR kOriginal = reinterpret_cast<LONG_PTR>(&OriginalProc);
const LONG_PTR kHook = reinterpret_cast<LONG_PTR>(&HookProc);

TEST_F(SubclassingTest, AFailedCreateLeavesNothingForDestroyToUndo) {
    for (HWND bad : {HWND{}, reinterpret_cast<HWND>(LONG_PTR{0x7ff0})}) {
        Subclassing s;
        s.SetOwnerHwnd(bad);
        s.SetWindowProc(kProcName);
        EXPECT_FALSE(s.Create(HookProc));
        EXPECT_FALSE(s.Active());
        // Pointed at a live window now, Destroy must still touch nothing.
        SetPropA(window, kProcName, reinterpret_cast<HANDLE>(5));
        s.SetOwnerHwnd(window);
        s.Destroy();
        EXPECT_EQ(Proc(), kOriginal);
        EXPECT_EQ(Prop(kProcName), 5);
    }
}

TEST_F(SubclassingTest, HooksInOrderPassesMessagesOnAndUnhooks) {
    hook.Add("Control", 1);
    hook.Add("Other", 2);
    hook.Add("Control", 3); // the later value wins
    ASSERT_TRUE(hook.Create(HookProc));
    EXPECT_TRUE(hook.Active());
    EXPECT_EQ(Proc(), kHook);
    EXPECT_EQ(Prop(kProcName), kOriginal);
    EXPECT_EQ(Prop("Control"), 3);
    EXPECT_EQ(Prop("Other"), 2);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 43); // the original's answer, through the hook
    EXPECT_EQ(hooked, std::vector<UINT>{kPing});

    hook.Destroy();
    EXPECT_FALSE(hook.Active());
    EXPECT_EQ(Proc(), kOriginal);
    EXPECT_EQ(Prop(kProcName) + Prop("Control") + Prop("Other"), 0);
}

TEST_F(SubclassingTest, ASecondCreateChangesNothing) {
    hook.Add("Control", 1);
    ASSERT_TRUE(hook.Create(HookProc));
    hook.Add("Late", 2);
    EXPECT_FALSE(hook.Create(OriginalProc));
    EXPECT_TRUE(hook.Active());
    EXPECT_EQ(Proc(), kHook);
    EXPECT_EQ(Prop(kProcName), kOriginal);
    EXPECT_EQ(Prop("Late"), 0);
    hook.Destroy();
}

TEST_F(SubclassingTest, DestroyAfterClearLeavesTheEarlierProperties) {
    hook.Add("Control", 1);
    ASSERT_TRUE(hook.Create(HookProc));
    hook.Clear();
    hook.Destroy();
    EXPECT_EQ(Proc(), kOriginal);
    EXPECT_EQ(Prop(kProcName), 0);
    EXPECT_EQ(Prop("Control"), 1);
}

TEST_F(SubclassingTest, DroppingTheObjectLeavesTheHook) {
    {
        Subclassing s;
        s.SetOwnerHwnd(window);
        s.SetWindowProc(kProcName);
        s.Add("Control", 1);
        ASSERT_TRUE(s.Create(HookProc));
    }
    EXPECT_EQ(Proc(), kHook);
    EXPECT_EQ(Prop("Control"), 1);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 43);
}

} // namespace
