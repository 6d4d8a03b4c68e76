#pragma once
// Owners for every kind of Win32 handle the program uses. Each frees its handle with the
// function that belongs to it, exactly once, when it goes out of scope; none can be copied.
#include <windows.h>

#include <utility>

namespace cw {

// One owned handle; `Traits` names the handle type, its empty value and how it is freed.
template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    Handle operator->() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    // For a call that fills an out parameter: frees what is held and gives its place.
    Handle* Put() {
        Reset();
        return &handle_;
    }

    // Gives the handle up without freeing it.
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    // Frees the handle held, if any, and holds `handle` instead.
    void Reset(Handle handle = Traits::Empty()) {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::Valid(old))
            Traits::Free(old);
    }

private:
    Handle handle_ = Traits::Empty();
};

namespace handle_traits {

// Kernel objects: files, mutexes, processes. CreateFile reports failure as INVALID_HANDLE_VALUE,
// the others as null; neither is ever closed.
struct Kernel {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(Handle h) { CloseHandle(h); }
};

struct Find {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(Handle h) { FindClose(h); }
};

// A folder's change notification: failure is INVALID_HANDLE_VALUE, as for a search.
struct ChangeNotification {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(Handle h) { FindCloseChangeNotification(h); }
};

template <typename T> struct Gdi {
    using Handle = T;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Free(Handle h) { DeleteObject(h); }
};

struct Icon {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Free(Handle h) { DestroyIcon(h); }
};

struct Window {
    using Handle = HWND;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Free(Handle h) { DestroyWindow(h); }
};

struct Accelerators {
    using Handle = HACCEL;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Free(Handle h) { DestroyAcceleratorTable(h); }
};

template <typename T> struct Com {
    using Handle = T*;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Free(Handle h) { h->Release(); }
};

} // namespace handle_traits

using KernelHandle = UniqueHandle<handle_traits::Kernel>;
using FindHandle = UniqueHandle<handle_traits::Find>;
using ChangeNotificationHandle = UniqueHandle<handle_traits::ChangeNotification>;
template <typename T> using GdiObject = UniqueHandle<handle_traits::Gdi<T>>;
using OwnedIcon = UniqueHandle<handle_traits::Icon>;
// A window this object created and destroys; a window the system destroys with its parent is
// never held here.
using OwnedWindow = UniqueHandle<handle_traits::Window>;
using OwnedAccelerators = UniqueHandle<handle_traits::Accelerators>;
// One reference to a COM object.
template <typename T> using ComRef = UniqueHandle<handle_traits::Com<T>>;

// A window's client-area device context (the screen's for no window), released with this object.
class ClientDC {
public:
    explicit ClientDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ClientDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The device context of one WM_PAINT, ended with this object.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintDC() { EndPaint(hwnd_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC Get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects a GDI object into a device context for one scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace cw
