// sample-desktop [--if-empty] [folder [all-users folder]]
//
// Makes forty sample desktop items with time stamps in an order that differs from their names'
// order, so that Clutterwise has something to list, reorder and show: shortcuts (.lnk, through
// IShellLinkW and IPersistFile) to programs that carry icons of their own, or with an icon of a
// system library, one to a drive that is not there, and Internet shortcuts (.url) written as the
// shell writes them, with an IconFile in the program's files or on the web. Their icons differ.
// Most go into the given folder, by default the user's desktop; a few go into the all-users folder,
// by default the desktop of all users (or the given folder, when only that is given). With
// --if-empty it does nothing when the folder already holds a shortcut. Names are UTF-8 (the
// manifest's code page) and include Japanese, Arabic, Cyrillic and Greek ones, so that a look at
// the lists shows every script.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

namespace {

constexpr const wchar_t* kShell = L"C:\\windows\\system32\\shell32.dll";
constexpr const wchar_t* kRegedit = L"C:\\windows\\regedit.exe";
constexpr const wchar_t* kNotepad = L"C:\\windows\\notepad.exe";
constexpr const wchar_t* kSystem = L"C:\\windows\\system32\\";

struct Sample {
    const char* name;
    std::wstring target; // a program, or a web address for an Internet shortcut
    const wchar_t* icon; // the icon's file, or nullptr for the target's own
    int index;           // of the icon in its file
    int hoursAgo;        // the stamp: now minus this many hours
    bool allUsers;
};

const Sample kSamples[] = {
    {"Notes", kNotepad, nullptr, 0, 5, false},
    {"Command Prompt", std::wstring(kSystem) + L"cmd.exe", nullptr, 0, 2, false},
    {"Registry Editor", kRegedit, nullptr, 0, 96, false},
    {"Task Manager", std::wstring(kSystem) + L"taskmgr.exe", nullptr, 0, 20, false},
    {"Minesweeper", std::wstring(kSystem) + L"winemine.exe", nullptr, 0, 44, false},
    {"Settings", std::wstring(kSystem) + L"winecfg.exe", nullptr, 0, 16, false},
    {"File Manager", std::wstring(kSystem) + L"winefile.exe", nullptr, 0, 80, false},
    {"WordPad", L"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe", nullptr, 0, 14, false},
    {"Straße", kNotepad, kRegedit, 1, 12, false},
    {"日本語", kNotepad, kRegedit, 2, 48, false},
    {"العربية", kNotepad, kRegedit, 3, 36, false},
    {"Русский", kNotepad, kRegedit, 4, 120, false},
    {"Project Plan v1.2", kNotepad, kRegedit, 5, 60, false},
    {"Clock", std::wstring(kSystem) + L"clock.exe", L"C:\\windows\\system32\\taskmgr.exe", 1, 1,
     false},
    {"Explorer", L"C:\\windows\\explorer.exe", L"C:\\windows\\system32\\taskmgr.exe", 2, 150,
     false},
    {"Write", std::wstring(kSystem) + L"write.exe", L"C:\\windows\\system32\\winecfg.exe", 1, 8,
     false},
    {"Mail", kNotepad, kShell, 156, 30, false},
    {"Calculator", std::wstring(kSystem) + L"calc.exe", kShell, 22, 72, false},
    {"Control Panel", std::wstring(kSystem) + L"control.exe", kShell, 21, 26, false},
    {"Documents", kNotepad, kShell, 3, 33, false},
    {"Printers", kNotepad, kShell, 16, 40, false},
    {"Network", kNotepad, kShell, 17, 55, false},
    {"Disc Burner", kNotepad, kShell, 11, 66, false},
    {"Backup Drive", kNotepad, kShell, 8, 7, false},
    {"Floppy", kNotepad, kShell, 6, 170, false},
    {"Search", kNotepad, kShell, 23, 88, false},
    {"Run", kNotepad, kShell, 24, 99, false},
    {"Shut Down", kNotepad, kShell, 27, 3, false},
    {"Recent", kNotepad, kShell, 20, 130, false},
    {"Old Game", L"Q:\\Games\\old.exe", nullptr, 0, 140, false}, // a drive that is not there
    {"Console", std::wstring(kSystem) + L"wineconsole.exe", kShell, 2, 11, false},
    {"Diagnostics", std::wstring(kSystem) + L"dxdiag.exe", kShell, 13, 23, false},
    {"System Information", std::wstring(kSystem) + L"msinfo32.exe", kShell, 15, 50, false},
    {"Uninstall Programs", std::wstring(kSystem) + L"uninstaller.exe", kShell, 31, 108, false},
    {"Example Website", L"https://www.example.com/", L"C:\\windows\\system32\\winhlp32.exe", 0, 18,
     false},
    {"Ελληνικά", L"https://www.example.org/", L"https://www.example.org/favicon.ico", 0, 4, false},
    {"Web Browser", L"C:\\Program Files\\Internet Explorer\\iexplore.exe", nullptr, 0, 9, true},
    {"Help Viewer", L"C:\\windows\\hh.exe", nullptr, 0, 64, true},
    {"Installer", std::wstring(kSystem) + L"msiexec.exe", nullptr, 0, 110, true},
    {"Shared Notes", kNotepad, kShell, 1, 28, true},
};

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<size_t>(n) : 1u, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
    out.resize(out.size() - 1);
    return out;
}

std::string Narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<size_t>(n) : 1u, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

bool IsInternetShortcut(const Sample& sample) {
    return sample.target.rfind(L"https://", 0) == 0;
}

bool HasShortcut(const std::string& folder) {
    for (const char* pattern : {"\\*.lnk", "\\*.url"}) {
        WIN32_FIND_DATAA found;
        const HANDLE h = FindFirstFileA((folder + pattern).c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            FindClose(h);
            return true;
        }
    }
    return false;
}

bool MakeShortcut(const std::string& path, const Sample& sample) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(sample.target.c_str());
    link->SetDescription(Wide(sample.name).c_str());
    link->SetWorkingDirectory(L"C:\\windows");
    if (sample.icon)
        link->SetIconLocation(sample.icon, sample.index);
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

// The lines and their order as the shell writes an Internet shortcut.
bool MakeInternetShortcut(const std::string& path, const Sample& sample) {
    std::string text = "[InternetShortcut]\r\nURL=" + Narrow(sample.target) + "\r\n";
    if (sample.icon)
        text += "IconFile=" + Narrow(sample.icon) +
                "\r\nIconIndex=" + std::to_string(sample.index) + "\r\n";
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(h);
    return ok;
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

std::string FolderOf(int csidl) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                          : "";
}

} // namespace

int main(int argc, char** argv) {
    bool ifEmpty = false;
    std::string folders[2];
    int given = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--if-empty")
            ifEmpty = true;
        else if (given < 2)
            folders[given++] = arg;
    }
    if (given == 0) {
        folders[0] = FolderOf(CSIDL_DESKTOPDIRECTORY);
        folders[1] = FolderOf(CSIDL_COMMON_DESKTOPDIRECTORY);
    } else if (given == 1) {
        folders[1] = folders[0];
    }
    if (folders[0].empty() || folders[1].empty()) {
        std::fprintf(stderr, "sample-desktop: no desktop folder\n");
        return 2;
    }
    if (ifEmpty && HasShortcut(folders[0])) {
        std::printf("%s already holds shortcuts\n", folders[0].c_str());
        return 0;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    int made = 0;
    for (const Sample& sample : kSamples) {
        const bool internet = IsInternetShortcut(sample);
        const std::string path =
            folders[sample.allUsers ? 1 : 0] + "\\" + sample.name + (internet ? ".url" : ".lnk");
        const bool saved =
            internet ? MakeInternetShortcut(path, sample) : MakeShortcut(path, sample);
        if (saved && Stamp(path, sample.hoursAgo))
            ++made;
        else
            std::fprintf(stderr, "sample-desktop: cannot make %s\n", path.c_str());
    }
    CoUninitialize();
    std::printf("%d sample shortcuts in %s and %s\n", made, folders[0].c_str(), folders[1].c_str());
    return made == static_cast<int>(std::size(kSamples)) ? 0 : 1;
}
