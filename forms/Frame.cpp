#include "forms/Frame.h"

namespace cw {

void Frame::Created() {
    hook_.Hook(Hwnd(), &Frame::Forward);
}

LRESULT Frame::Forward(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (HWND top = GetAncestor(hwnd, GA_ROOT))
            return SendMessageA(top, msg, wParam, lParam);
        break;
    case WM_ERASEBKGND: {
        // The form clips its children, so the frame paints the face it sits on itself.
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    }
    return WindowHook::Next(hwnd, msg, wParam, lParam);
}

} // namespace cw
