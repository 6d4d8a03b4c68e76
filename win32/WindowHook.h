#pragma once
// Our one way into a window's chain of procedures. A hook sees each message of its window before
// the window's own procedure does, behind the exception barrier, and passes what it does not take
// on with Next. Each hook is its own link: any number on one window work and come off in any
// order; the latest hooked sees a message first.
//
// The chain is the program's own rather than the common controls' subclass chain, which finds
// its links through a window property on every message: under Wine each such lookup is a trip to
// the server, and a list box that sends its owner a message per row (deleting owner-drawn rows)
// waited a quarter of a millisecond for each. Here a message finds its chain in a table of the
// thread's hooked windows.
//
// The link comes off when the object goes or when the window does (before the hook sees
// WM_NCDESTROY, which it still gets, so that it can let go of the window). The procedure is
// copied for each message: the object may be unhooked or dropped while the procedure runs. Once
// the last link is off, the window gets back the procedure the chain replaced, unless another
// program's procedure has been put in front of the chain meanwhile; the chain then passes every
// message on until the window goes.
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
    // procedure. Outside the window's chain: the window's procedure as the chain found it.
    static LRESULT Next(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Runs this hook's procedure for one message of its window.
    LRESULT Run(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
    Procedure procedure_;
};

} // namespace cw
