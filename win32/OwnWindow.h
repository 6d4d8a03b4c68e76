#pragma once
// Windows of our own classes (forms, components, property pages, the designer): registering the
// class, and the object each window stands for, which its procedure finds in GWLP_USERDATA.
#include <windows.h>

namespace cw {

// Registers a window class of this program's module with the arrow cursor; `background` null for
// a window that paints its background itself. Registering a class again changes nothing.
void RegisterOwnClass(const char* name, WNDPROC proc, UINT style, HBRUSH background,
                      HICON icon = nullptr);
// The button face, for windows whose controls sit on it.
inline HBRUSH ButtonFace() {
    return reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

inline void LinkWindow(HWND hwnd, void* object) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

// The object linked to `hwnd`, or nullptr.
template <typename T> T* LinkedObject(HWND hwnd) {
    return hwnd ? reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

// For a window procedure: the object `msg` is for. The link is made from CreateWindowEx's last
// argument as the window is created (WM_NCCREATE) and cut as it goes (WM_NCDESTROY, which still
// reaches the object), so that no later message finds an object that may be gone.
template <typename T> T* LinkedObject(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        LinkWindow(hwnd, reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    T* object = LinkedObject<T>(hwnd);
    if (msg == WM_NCDESTROY)
        LinkWindow(hwnd, nullptr);
    return object;
}

// Ends a linked window from its object's destructor. The link is cut first: the messages of the
// window's end must not reach an object that is itself going. (Such a window cannot sit in an
// OwnedWindow: its procedure sets and clears the object's handle as the window comes and goes.)
inline void DestroyLinkedWindow(HWND hwnd) {
    if (hwnd && IsWindow(hwnd)) {
        LinkWindow(hwnd, nullptr);
        DestroyWindow(hwnd);
    }
}

} // namespace cw
