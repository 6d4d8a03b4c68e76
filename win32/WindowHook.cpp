#include "win32/WindowHook.h"

#include "win32/Barrier.h"

#include <commctrl.h>

namespace cw {

bool WindowHook::Hook(HWND hwnd, Procedure procedure) {
    Unhook();
    if (!hwnd || !procedure || !IsWindow(hwnd) ||
        GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
        return false;
    procedure_ = std::move(procedure);
    // The link's id is this object, so that two hooks with the one procedure stay two links.
    if (!SetWindowSubclass(hwnd, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = hwnd;
    return true;
}

void WindowHook::Unhook() {
    if (hwnd_)
        RemoveWindowSubclass(hwnd_, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(this));
    hwnd_ = nullptr;
}

LRESULT WindowHook::Next(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK WindowHook::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
    auto* self = reinterpret_cast<WindowHook*>(data);
    if (msg == WM_NCDESTROY)
        self->Unhook(); // the chain still passes this last message on
    const Procedure procedure = self->procedure_;
    return Barrier([&] { return procedure(hwnd, msg, wParam, lParam); });
}

} // namespace cw
