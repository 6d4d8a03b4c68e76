#include "subclass/Subclassing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace cw;

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kUnhookSelf = WM_APP + 2;
constexpr UINT kDestroyWindow = WM_APP + 3;

// The procedure the hooks replace: answers kPing with 42.
LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == kPing ? 42 : DefWindowProcA(hwnd, msg, wParam, lParam);
}

// What one hook stands for: the control that installed it.
struct Control {
    Subclassing hook;
    int pings = 0;
};

// One procedure for every hook, as two controls of one kind share theirs: each ping it sees adds
// 1 to the answer from further down the chain.
LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = HookedControl<Control>(hwnd, "Control");
    if (control && msg == kPing)
        ++control->pings;
    if (control && msg == kUnhookSelf)
        control->hook.Destroy(); // a handler that ends its control; the message still goes on
    if (msg == kDestroyWindow)
        DestroyWindow(hwnd); // a handler that closes the window; the message still goes on
    const LRESULT below = CallReplacedProc(hwnd, msg, wParam, lParam);
    return msg == kPing || msg == kUnhookSelf ? below + 1 : below;
}

// A hook that only passes messages on, for hooks whose values are plain numbers.
LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallReplacedProc(hwnd, msg, wParam, lParam) + (msg == kPing ? 1 : 0);
}

struct SubclassingTest : ::testing::Test {
    SubclassingTest() {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = OriginalProc;
        wc.lpszClassName = "SubclassingTestWindow";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
    }
    ~SubclassingTest() override { DestroyWindow(window); }

    std::unique_ptr<Control> Hooked() {
        auto control = std::make_unique<Control>();
        control->hook.SetOwnerHwnd(window);
        control->hook.SetWindowProc("TestWindowProc");
        control->hook.Add("Control", reinterpret_cast<LONG_PTR>(control.get()));
        EXPECT_TRUE(control->hook.Create(HookProc));
        return control;
    }
    LRESULT Ping() const { return SendMessageA(window, kPing, 0, 0); }
    LONG_PTR Prop(const char* name) const {
        return reinterpret_cast<LONG_PTR>(GetPropA(window, name));
    }
    bool OwnProcBack() const {
        return GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OriginalProc);
    }

    HWND window = nullptr;
};

// Two hooks with fixed property names used to save each other as "the replaced procedure", and
// every message recursed until the stack ran out.
TEST_F(SubclassingTest, EveryHookSeesEachMessageOnceAndComesOffInAnyOrder) {
    const std::vector<std::vector<size_t>> removals = {{0, 1}, {1, 0}, {0, 1, 2}, {2, 1, 0}};
    for (const auto& order : removals) {
        SCOPED_TRACE(::testing::PrintToString(order));
        std::vector<std::unique_ptr<Control>> controls;
        for (size_t i = 0; i < order.size(); ++i)
            controls.push_back(Hooked());
        EXPECT_EQ(Prop("Control"), reinterpret_cast<LONG_PTR>(controls.back().get()));
        std::vector<int> expected(order.size());
        for (const size_t gone : order) {
            LRESULT answer = 42;
            for (size_t i = 0; i < controls.size(); ++i)
                if (controls[i]->hook.Active())
                    ++expected[i], ++answer;
            EXPECT_EQ(Ping(), answer);
            for (size_t i = 0; i < controls.size(); ++i)
                EXPECT_EQ(controls[i]->pings, expected[i]) << i;
            controls[gone]->hook.Destroy();
        }
        EXPECT_EQ(Ping(), 42);
        EXPECT_TRUE(OwnProcBack());
        EXPECT_EQ(Prop("Control"), 0);
    }
}

TEST_F(SubclassingTest, AHookCanRemoveItselfWhileItsProcedureRuns) {
    auto first = Hooked();
    auto second = Hooked();
    EXPECT_EQ(SendMessageA(window, kUnhookSelf, 0, 0), 2); // both hooks still passed it on
    EXPECT_FALSE(first->hook.Active());
    EXPECT_FALSE(second->hook.Active());
    EXPECT_TRUE(OwnProcBack());
}

TEST_F(SubclassingTest, PropertiesFollowTheirHooksAndASecondCreateChangesNothing) {
    Subclassing hook;
    hook.SetOwnerHwnd(window);
    hook.Add("Control", 0);
    hook.Add("Other", 2);
    hook.Add("Control", 3); // the later value wins
    ASSERT_TRUE(hook.Create(PassOn));
    hook.Add("Late", 4);
    EXPECT_FALSE(hook.Create(OriginalProc));
    EXPECT_TRUE(hook.Active());
    EXPECT_EQ(Prop("Control") * 100 + Prop("Other") * 10 + Prop("Late"), 320);
    auto later = Hooked(); // its own value under the same name, which the first must not remove
    hook.Destroy();
    EXPECT_EQ(Prop("Control"), reinterpret_cast<LONG_PTR>(later.get()));
    EXPECT_EQ(Prop("Other"), 0);
    EXPECT_EQ(Ping(), 43);
}

TEST_F(SubclassingTest, AFailedCreateLeavesNothingForDestroyToUndo) {
    for (HWND bad : {HWND{}, reinterpret_cast<HWND>(LONG_PTR{0x7ff0})}) {
        Subclassing s;
        s.SetOwnerHwnd(bad);
        s.Add("Control", 5);
        EXPECT_FALSE(s.Create(PassOn));
        EXPECT_FALSE(s.Active());
        SetPropA(window, "Control", reinterpret_cast<HANDLE>(5));
        s.SetOwnerHwnd(window); // pointed at a live window now, Destroy must still touch nothing
        s.Destroy();
        EXPECT_TRUE(OwnProcBack());
        EXPECT_EQ(Prop("Control"), 5);
    }
}

// A procedure put in front of the hooks by someone else keeps them working, and keeps its place
// when they come off; the window going in the middle of a message ends every hook.
TEST_F(SubclassingTest, AProcedureInFrontAndAWindowGoingMidMessageAreBothSafe) {
    auto first = Hooked();
    static WNDPROC behind = nullptr;
    const auto front = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return CallWindowProcA(behind, hwnd, msg, wParam, lParam) + (msg == kPing ? 10 : 0);
    };
    behind = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(front))));
    auto second = Hooked(); // in front of the stranger
    EXPECT_EQ(Ping(), 42 + 1 + 10 + 1);
    first->hook.Destroy();
    second->hook.Destroy();
    EXPECT_EQ(Ping(), 42 + 10);
    auto third = Hooked();
    EXPECT_EQ(SendMessageA(window, kDestroyWindow, 0, 0), 0); // the window is gone below
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(third->hook.Active());
}

// The window keeps a dropped object's hook running and frees it when it goes; a live object whose
// window went first is simply unhooked.
TEST_F(SubclassingTest, TheHookOutlivesItsObjectButNotItsWindow) {
    auto kept = Hooked();
    {
        Subclassing dropped;
        dropped.SetOwnerHwnd(window);
        ASSERT_TRUE(dropped.Create(PassOn));
    }
    EXPECT_EQ(Ping(), 44);
    EXPECT_EQ(kept->pings, 1);
    DestroyWindow(window);
    EXPECT_FALSE(kept->hook.Active());
    kept->hook.Destroy();
}

} // namespace
