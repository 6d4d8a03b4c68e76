#pragma once
// Wine's own mapping of a DOS path to the Linux path it stands for; "" outside Wine.
#include <windows.h>

#include <algorithm>
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

// The folder in Wine's \\?\unix form, ending in a backslash: Wine looks for every new name
// through the whole folder (for the same name in other letter cases), which makes filling one
// folder quadratic, and these paths skip that. Outside Wine, the folder as it is.
inline std::string FastPathOf(const std::string& folder) {
    std::string path = UnixPathOf(folder);
    std::replace(path.begin(), path.end(), '/', '\\');
    path = path.empty() ? folder : "\\\\?\\unix" + path;
    return path.empty() || path.back() == '\\' ? path : path + "\\";
}

// Starts a Linux program, as Wine starts one like any other; Wine cannot wait for it, though.
inline bool StartLinuxProgram(const char* program, std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// A symbolic link `link` to `target` (a name beside it or a full path; neither with blanks), a
// file or a `folder`.
// Wine's CreateSymbolicLinkW makes nothing though it says it did, so under Wine this runs the
// Linux ln; to Wine such a link is no reparse point: it opens what the link points at.
inline bool MakeSymbolicLink(const std::string& link, const std::string& target,
                             bool folder = false) {
    const std::string unixLink = UnixPathOf(link);
    if (unixLink.empty())
        return CreateSymbolicLinkA(link.c_str(), target.c_str(),
                                   SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE |
                                       (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0)) != 0;
    const bool beside = target.find('\\') == std::string::npos;
    if (!StartLinuxProgram("Z:\\bin\\ln",
                           "ln -s " + (beside ? target : UnixPathOf(target)) + " " + unixLink))
        return false;
    // Wine cannot wait for a Linux process: wait for the link instead.
    for (int i = 0; i < 3000; ++i, Sleep(10))
        if (GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}

// Makes empty files "0<suffix>" to "<count - 1><suffix>" in a folder.
inline bool MakeNumberedFiles(const std::string& folder, int count, const std::string& suffix) {
    const std::string path = FastPathOf(folder);
    for (int i = 0; i < count; ++i) {
        const HANDLE file = CreateFileA((path + std::to_string(i) + suffix).c_str(), GENERIC_WRITE,
                                        0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
    }
    return true;
}

} // namespace cwtest
