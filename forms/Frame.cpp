#include "forms/Frame.h"

#include "win32/Barrier.h"

#include <commctrl.h>

namespace cw {

void Frame::Created() {
    SetWindowSubclass(Hwnd(), &Frame::Forward, 1, 0);
}

LRESULT CALLBACK Frame::Forward(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
    return Barrier([&]() -> LRESULT {
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
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &Frame::Forward, id);
            break;
        }
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    });
}

} // namespace cw
