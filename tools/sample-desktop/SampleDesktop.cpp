// sample-desktop [--if-empty] [folder]
//
// Makes fourteen shortcuts (.lnk, through IShellLinkA and IPersistFile) in the given folder, by
// default the user's desktop, with time stamps in an order that differs from their names' order,
// so that Clutterwise has something to list and reorder. With --if-empty it does nothing when
// the folder already holds a shortcut. Names are UTF-8 (the manifest's code page) and include
// Japanese, Arabic and Cyrillic ones, so that a look at the list shows every script drawn as text.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

namespace {

struct Sample {
    const char* name;
    const char* target;
    int hoursAgo; // the stamp: now minus this many hours
};

constexpr Sample kSamples[] = {
    {"Mail", "C:\\windows\\notepad.exe", 30},
    {"Notes", "C:\\windows\\notepad.exe", 5},
    {"Calculator", "C:\\windows\\system32\\calc.exe", 72},
    {"Straße", "C:\\windows\\notepad.exe", 12},
    {"日本語", "C:\\windows\\notepad.exe", 48},
    {"العربية", "C:\\windows\\notepad.exe", 36},
    {"Русский", "C:\\windows\\notepad.exe", 120},
    {"Command Prompt", "C:\\windows\\system32\\cmd.exe", 2},
    {"Registry Editor", "C:\\windows\\regedit.exe", 96},
    {"Task Manager", "C:\\windows\\system32\\taskmgr.exe", 20},
    {"Explorer", "C:\\windows\\explorer.exe", 150},
    {"Write", "C:\\windows\\system32\\write.exe", 8},
    {"Project Plan v1.2", "C:\\windows\\notepad.exe", 60},
    {"Clock", "C:\\windows\\system32\\winver.exe", 1},
};

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n) : 1u, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
    out.resize(out.size() - 1);
    return out;
}

bool HasShortcut(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*.lnk").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FindClose(h);
    return true;
}

bool MakeShortcut(const std::string& path, const Sample& sample) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(sample.target);
    link->SetDescription(sample.name);
    link->SetWorkingDirectory("C:\\windows");
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

bool Stamp(const std::string& path, int hoursAgo) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{};
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(hoursAgo) * 3600ULL * 10000000ULL;
    const FILETIME stamp{t.LowPart, t.HighPart};
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = SetFileTime(h, &stamp, &stamp, &stamp) != FALSE;
    CloseHandle(h);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    bool ifEmpty = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--if-empty")
            ifEmpty = true;
        else
            folder = arg;
    }
    if (folder.empty()) {
        char path[MAX_PATH] = "";
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                                    path))) {
            std::fprintf(stderr, "sample-desktop: no desktop folder\n");
            return 2;
        }
        folder = path;
    }
    if (ifEmpty && HasShortcut(folder)) {
        std::printf("%s already holds shortcuts\n", folder.c_str());
        return 0;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    int made = 0;
    for (const Sample& sample : kSamples) {
        const std::string path = folder + "\\" + sample.name + ".lnk";
        if (MakeShortcut(path, sample) && Stamp(path, sample.hoursAgo))
            ++made;
        else
            std::fprintf(stderr, "sample-desktop: cannot make %s\n", path.c_str());
    }
    CoUninitialize();
    std::printf("%d sample shortcuts in %s\n", made, folder.c_str());
    return made == static_cast<int>(std::size(kSamples)) ? 0 : 1;
}
