#include "Subclassing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cw;

namespace {

constexpr UINT kPing = WM_APP + 1;

// The procedure a hook replaces: answers kPing with 42.
LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing)
        return 42;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::vector<UINT> hooked; // messages seen by HookProc

LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    hooked.push_back(msg);
    return CallReplacedProc(hwnd, "TestWindowProc", msg, wParam, lParam) + (msg == kPing ? 1 : 0);
}

class SubclassingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = OriginalProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SubclassingTestWindow";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        hook.SetOwnerHwnd(window);
        hook.SetWindowProc("TestWindowProc");
        hooked.clear();
    }
    void TearDown() override { DestroyWindow(window); }

    WNDPROC Proc() const {
        return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    }
    LONG_PTR Prop(const char* name) const {
        return reinterpret_cast<LONG_PTR>(GetPropA(window, name));
    }

    HWND window = nullptr;
    Subclassing hook;
};

TEST_F(SubclassingTest, FailedCreateLeavesNothingForDestroyToUndo) {
    for (HWND bad : {HWND{}, reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7ff0))}) {
        Subclassing s;
        s.SetOwnerHwnd(bad);
        s.SetWindowProc("TestWindowProc");
        s.Add("Control", 7);
        EXPECT_FALSE(s.Create(HookProc));
        EXPECT_FALSE(s.Active());
        // Pointed at a live window now, Destroy must still touch nothing.
        SetPropA(window, "TestWindowProc", reinterpret_cast<HANDLE>(5));
        s.SetOwnerHwnd(window);
        s.Destroy();
        EXPECT_EQ(Proc(), OriginalProc);
        EXPECT_EQ(Prop("TestWindowProc"), 5);
        RemovePropA(window, "TestWindowProc");
    }
}

TEST_F(SubclassingTest, HooksSetsPropertiesInOrderAndPassesMessagesOn) {
    hook.Add("Control", 1);
    hook.Add("Other", 2);
    hook.Add("Control", 3); // a duplicate atom: the later value wins
    ASSERT_TRUE(hook.Create(HookProc));
    EXPECT_TRUE(hook.Active());
    EXPECT_EQ(Proc(), HookProc);
    EXPECT_EQ(Prop("TestWindowProc"), reinterpret_cast<LONG_PTR>(OriginalProc));
    EXPECT_EQ(Prop("Control"), 3);
    EXPECT_EQ(Prop("Other"), 2);

    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 43); // the original's answer, through the hook
    EXPECT_EQ(hooked, std::vector<UINT>{kPing});

    hook.Destroy();
    EXPECT_FALSE(hook.Active());
    EXPECT_EQ(Proc(), OriginalProc);
    EXPECT_EQ(Prop("TestWindowProc"), 0);
    EXPECT_EQ(Prop("Control"), 0);
    EXPECT_EQ(Prop("Other"), 0);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 42);
}

TEST_F(SubclassingTest, SecondCreateChangesNothing) {
    hook.Add("Control", 1);
    ASSERT_TRUE(hook.Create(HookProc));
    hook.Add("Late", 2);
    hook.SetWindowProc("Renamed");
    EXPECT_FALSE(hook.Create(OriginalProc));
    EXPECT_TRUE(hook.Active());
    EXPECT_EQ(Proc(), HookProc);
    EXPECT_EQ(Prop("TestWindowProc"), reinterpret_cast<LONG_PTR>(OriginalProc));
    EXPECT_EQ(Prop("Renamed"), 0);
    EXPECT_EQ(Prop("Late"), 0);
    hook.SetWindowProc("TestWindowProc");
    hook.Destroy();
}

TEST_F(SubclassingTest, DestroyAfterClearRemovesOnlyTheProcedureProperty) {
    hook.Add("Control", 1);
    ASSERT_TRUE(hook.Create(HookProc));
    hook.Clear();
    hook.Destroy();
    EXPECT_EQ(Proc(), OriginalProc);
    EXPECT_EQ(Prop("TestWindowProc"), 0);
    EXPECT_EQ(Prop("Control"), 1);
    RemovePropA(window, "Control");
}

TEST_F(SubclassingTest, DroppingTheObjectLeavesTheHook) {
    {
        Subclassing s;
        s.SetOwnerHwnd(window);
        s.SetWindowProc("TestWindowProc");
        s.Add("Control", 1);
        ASSERT_TRUE(s.Create(HookProc));
    }
    EXPECT_EQ(Proc(), HookProc);
    EXPECT_EQ(Prop("Control"), 1);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 43);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OriginalProc));
    RemovePropA(window, "TestWindowProc");
    RemovePropA(window, "Control");
}

} // namespace
