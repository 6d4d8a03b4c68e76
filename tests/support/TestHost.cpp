#include "TestHost.h"

#include <cmath>

namespace cwtest {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

SIZE OuterSize(int clientWidth, int clientHeight) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

TestHost::TestHost(int clientWidth, int clientHeight) {
    static const ATOM hostClass = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "ClutterwiseTestHost";
        return RegisterClassExA(&wc);
    }();
    const SIZE size = OuterSize(clientWidth, clientHeight);
    window_ = CreateWindowExA(0, MAKEINTATOM(hostClass), "Test host", kStyle, 20, 20, size.cx,
                              size.cy, nullptr, nullptr, nullptr, nullptr);
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
    const SIZE size = OuterSize(clientWidth, clientHeight);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Place();
}

// Docked components span the holding window's width along their edge, as on a form.
void TestHost::Place() {
    RECT client{};
    GetClientRect(window_, &client);
    int w = static_cast<int>(std::lround(width_ / TwipsPerPixelX()));
    const int h = static_cast<int>(std::lround(height_ / TwipsPerPixelY()));
    if (align_ != cw::Align::None) {
        w = client.right;
        width_ = static_cast<int>(std::lround(w * TwipsPerPixelX()));
    }
    if (component_)
        MoveWindow(component_, 0, align_ == cw::Align::Bottom ? client.bottom - h : 0, w, h, TRUE);
}

} // namespace cwtest
