#pragma once
// Wine's own mapping of a DOS path to the Linux path it stands for; "" outside Wine.
#include <windows.h>

#include <string>

namespace cwtest {

inline std::string UnixPathOf(const std::string& dosPath) {
    using UnixName = char*(__cdecl*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, dosPath.c_str(), -1, wide, MAX_PATH);
    char* found = unixName ? unixName(wide) : nullptr;
    const std::string path = found ? found : "";
    HeapFree(GetProcessHeap(), 0, found);
    return path;
}

} // namespace cwtest
