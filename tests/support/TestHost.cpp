#include "TestHost.h"

#include <cmath>

namespace cwtest {
namespace {

constexpr const char* kClassName = "ClutterwiseTestHost";

void RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
}

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

} // namespace

TestHost::TestHost(int clientWidth, int clientHeight, bool visible) {
    RegisterHostClass();
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    window_ = CreateWindowExA(0, kClassName, "Test host", kStyle, 20, 20, r.right - r.left,
                              r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (visible)
        ShowWindow(window_, SW_SHOWNOACTIVATE);
    Pump();
}

TestHost::~TestHost() {
    if (IsWindow(window_))
        DestroyWindow(window_);
    Pump();
}

void TestHost::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TestHost::Attach(HWND componentWindow) {
    component_ = componentWindow;
    Place();
}

int TestHost::ContainerClientWidth() const {
    RECT r{};
    GetClientRect(window_, &r);
    return r.right;
}

void TestHost::SetAlign(cw::Align align) {
    align_ = align;
    Place();
}

void TestHost::SetSize(int widthTwips, int heightTwips) {
    width_ = widthTwips;
    height_ = heightTwips;
    Place();
}

void TestHost::ResizeContainer(int clientWidth, int clientHeight) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Place();
}

// Docked components span the holding window's width along their edge, as on a form.
void TestHost::Place() {
    RECT client{};
    GetClientRect(window_, &client);
    int w = static_cast<int>(std::lround(width_ / TwipsPerPixelX()));
    const int h = static_cast<int>(std::lround(height_ / TwipsPerPixelY()));
    int x = 0, y = 0;
    if (align_ != cw::Align::None) {
        w = client.right;
        width_ = static_cast<int>(std::lround(w * TwipsPerPixelX()));
        y = align_ == cw::Align::Bottom ? client.bottom - h : 0;
    }
    if (component_)
        MoveWindow(component_, x, y, w, h, TRUE);
}

} // namespace cwtest
