#include "forms/Component.h"

#include "win32/Barrier.h"
#include "win32/Handles.h"
#include "win32/OwnWindow.h"

#include <windowsx.h>

#include <cmath>

namespace cw {
namespace {

constexpr const char* kClassName = "ClutterwiseComponent";

} // namespace

COLORREF ResolveColour(std::uint32_t colour) {
    if (colour & 0x80000000u)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0x00FFFFFFu;
}

Component::Component(ComponentHost& host) : host_(host) {
    // Each window gets its procedure right after creation, once the object can take messages.
    RegisterOwnClass(kClassName, DefWindowProcA, CS_DBLCLKS, nullptr);
    const int width = static_cast<int>(std::lround(host.Width() / host.TwipsPerPixelX()));
    const int height = static_cast<int>(std::lround(host.Height() / host.TwipsPerPixelY()));
    hwnd_ =
        CreateWindowExA(0, kClassName, host.Name().c_str(),
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, width,
                        height, host.ContainerHwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd_) {
        LinkWindow(hwnd_, this);
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Component::WindowProc));
    }
}

Component::~Component() {
    DestroyLinkedWindow(hwnd_);
}

void Component::Start(const PropertyBag* saved) {
    if (saved)
        ReadProperties(*saved);
    else
        InitProperties();
    Resize();
}

int Component::ClientWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.right - r.left;
}

int Component::ClientHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.bottom - r.top;
}

bool Component::Enabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}

void Component::SetEnabled(bool enabled) {
    if (hwnd_)
        EnableWindow(hwnd_, enabled);
}

void Component::SetBackColor(std::uint32_t colour) {
    backColor_ = colour;
    Invalidate();
}

void Component::Invalidate() {
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void Component::SetVisible(bool visible) {
    if (hwnd_)
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

LRESULT CALLBACK Component::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Barrier([&] { return HandleMessage(hwnd, msg, wParam, lParam); });
}

LRESULT Component::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = LinkedObject<Component>(hwnd, msg, lParam);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_SIZE:
        self->Resize();
        return 0;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        const GdiObject<HBRUSH> brush(CreateSolidBrush(ResolveColour(self->backColor_)));
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Get());
        return 1;
    }
    case WM_PAINT: {
        // Ended also when Paint fails, or the window would ask to be painted again at once.
        const PaintDC paint(hwnd);
        self->Paint(paint.Get());
        return 0;
    }
    case WM_LBUTTONUP:
        self->MouseClick(1, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONUP:
        self->MouseClick(2, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        self->MouseDblClick(1, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDBLCLK:
        self->MouseDblClick(2, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_NCDESTROY:
        // The holding window took this one with it: nothing left to destroy later.
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace cw
