#include "win32/OwnWindow.h"

namespace cw {

void RegisterOwnClass(const char* name, WNDPROC proc, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = icon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExA(&wc); // fails, harmlessly, when the class is there already
}

} // namespace cw
