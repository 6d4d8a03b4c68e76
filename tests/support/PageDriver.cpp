#include "PageDriver.h"

namespace cwtest {

void Type(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Choose(HWND combo, int index) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void Tick(HWND check) {
    SendMessageA(check, BM_CLICK, 0, 0);
}

void Scroll(HWND bar, int code) {
    SendMessageA(GetParent(bar), WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar));
}

// Sent, not read from the window's record, so that it works on other processes' controls too.
std::string TextOf(HWND window) {
    char text[1024] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

bool Enabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

int Position(HWND window) {
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, "ScrollBar") == 0)
        return GetScrollPos(window, SB_CTL);
    return static_cast<int>(SendMessageA(window, CB_GETCURSEL, 0, 0));
}

bool Ticked(HWND check) {
    return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace cwtest
