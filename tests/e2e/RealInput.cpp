#include "RealInput.h"

#include "TempFolder.h"

#include <fstream>
#include <sstream>

namespace cwtest {
namespace {

constexpr const char* kXdotool = "Z:\\usr\\bin\\xdotool";

std::string UnixPath(const std::string& dosPath) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_UTF8, 0, dosPath.c_str(), -1, wide, MAX_PATH);
    char* found = unixName ? unixName(wide) : nullptr;
    const std::string path = found ? found : "";
    HeapFree(GetProcessHeap(), 0, found);
    return path;
}

} // namespace

bool HaveRealInput(std::string& whyNot) {
    if (GetFileAttributesA(kXdotool) == INVALID_FILE_ATTRIBUTES) {
        whyNot = "xdotool is not installed (scripts/setup.sh installs it)";
        return false;
    }
    return true;
}

// Wine starts a Linux program but cannot wait for it: the shell that runs xdotool writes its exit
// status into a file of ours, and we wait for that.
bool Xdotool(const std::string& arguments) {
    static const TempFolder folder;
    const std::string status = folder / "xdotool.status";
    DeleteFileA(status.c_str());
    std::string command =
        "/bin/sh -c \"xdotool " + arguments + "; echo $? > '" + UnixPath(status) + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 1000; ++i, Sleep(20)) {
        std::ifstream file(status);
        int code = -1;
        if (file >> code)
            return code == 0;
    }
    return false;
}

POINT RowOnScreen(HWND list, int row, RowPart part) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const LONG quarter = (r.bottom - r.top) / 4;
    POINT p{r.left + 20, part == RowPart::Upper   ? r.top + quarter
                         : part == RowPart::Lower ? r.bottom - 1 - quarter
                                                  : (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
}

std::string MoveTo(POINT p) {
    std::ostringstream text;
    text << "mousemove " << p.x << ' ' << p.y;
    return text.str();
}

} // namespace cwtest
