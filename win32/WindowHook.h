#pragma once
// Our one way into a window's chain of procedures (the common controls' subclass chain). A hook
// sees each message of its window before the window's own procedure does, behind the exception
// barrier, and passes what it does not take on with Next. Each hook is its own link: any number
// on one window work and come off in any order.
//
// The link comes off when the object goes or when the window does (before the hook sees
// WM_NCDESTROY, which it still gets, so that it can let go of the window). The procedure is
// copied for each message: the object may be unhooked or dropped while the procedure runs.
#include <windows.h>

#include <functional>

namespace cw {

class WindowHook {
public:
    using Procedure = std::function<LRESULT(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)>;

    WindowHook() = default;
    ~WindowHook() { Unhook(); }
    WindowHook(const WindowHook&) = delete;
    WindowHook& operator=(const WindowHook&) = delete;

    // Hooks `hwnd` (letting go of a window hooked before); false when there is no such window or
    // it belongs to another thread, whose chain only that thread may change.
    bool Hook(HWND hwnd, Procedure procedure);
    void Unhook();
    // The hooked window, or nullptr.
    HWND Hwnd() const { return hwnd_; }

    // For a running procedure: the answer of the rest of the chain, down to the window's own
    // procedure.
    static LRESULT Next(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data);

    HWND hwnd_ = nullptr;
    Procedure procedure_;
};

} // namespace cw
