#pragma once
// Just enough of the platform for the design reader and the property bag to build natively on
// Linux, for the fuzzer. Icons never load here: a picture keeps its reference and no icon.
#include <cstdint>

struct HICON__ {
    int unused;
};
typedef HICON__* HICON;
typedef void* HINSTANCE;
typedef HINSTANCE HMODULE;

#define IMAGE_ICON 1
#define LR_LOADFROMFILE 0x10
#define MAKEINTRESOURCEA(i) (reinterpret_cast<const char*>(static_cast<std::uintptr_t>(i)))

inline HMODULE GetModuleHandleA(const char*) {
    return nullptr;
}
inline void* LoadImageA(HINSTANCE, const char*, unsigned, int, int, unsigned) {
    return nullptr;
}
inline int DestroyIcon(HICON) {
    return 1;
}
