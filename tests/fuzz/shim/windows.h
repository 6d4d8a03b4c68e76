#pragma once
// Just enough of the platform for the design reader and the property bag to build natively on
// Linux, for the fuzzer. Icons never load here: a picture keeps its reference and no icon. The
// handle owners are declared for win32/Handles.h; none but the icon's is ever called.
#include <cstdint>

struct HICON__ {
    int unused;
};
typedef HICON__* HICON;
typedef void *HINSTANCE, *HMODULE, *HANDLE, *HWND, *HDC, *HGDIOBJ, *HACCEL;
struct RECT {
    long left, top, right, bottom;
};
struct PAINTSTRUCT {
    RECT rcPaint;
};

#define IMAGE_ICON 1
#define LR_LOADFROMFILE 0x10
#define MAKEINTRESOURCEA(i) (reinterpret_cast<const char*>(static_cast<std::uintptr_t>(i)))
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(~std::uintptr_t{0}))

inline HMODULE GetModuleHandleA(const char*) {
    return nullptr;
}
inline void* LoadImageA(HINSTANCE, const char*, unsigned, int, int, unsigned) {
    return nullptr;
}
inline int DestroyIcon(HICON) {
    return 1;
}
int CloseHandle(HANDLE);
int FindClose(HANDLE);
int DestroyWindow(HWND);
int DestroyAcceleratorTable(HACCEL);
HDC GetDC(HWND);
int ReleaseDC(HWND, HDC);
HDC BeginPaint(HWND, PAINTSTRUCT*);
int EndPaint(HWND, const PAINTSTRUCT*);
HGDIOBJ SelectObject(HDC, HGDIOBJ);
