// The icons of desktop items as the shell shows them, found without moving the items' access
// times, and the icon worker on them: a storm of refreshes and closes during lookups leaves no
// thread or handle behind.
#include "FileStamps.h"
#include "ProcessWindows.h"
#include "TempFolder.h"
#include "fs/ShortcutIcons.h"
#include "win32/IconWorker.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <map>

using namespace cw;
using cwtest::ExactTimes;

namespace {

class ShortcutIcons : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    std::string Link(const std::string& name, const wchar_t* target, const wchar_t* icon = nullptr,
                     int index = 0) const {
        const std::string path = folder / name;
        IShellLinkW* link = nullptr;
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&link));
        link->SetPath(target);
        if (icon)
            link->SetIconLocation(icon, index);
        IPersistFile* file = nullptr;
        link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        EXPECT_EQ(file->Save(wide, TRUE), S_OK) << path;
        file->Release();
        link->Release();
        return path;
    }

    const cwtest::TempFolder folder;
};

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Every handle value the process has open.
int OpenHandles() {
    int open = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    }
    return open;
}

int Threads() {
    const cw::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int threads = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry))
        threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    return threads;
}

} // namespace

TEST_F(ShortcutIcons, AreTheLinksOrTheirTargetsAtEachSizeAndLeaveAccessTimesAsTheyWere) {
    const std::map<std::string, std::string> items{
        {"target", Link("Мины.lnk", L"C:\\windows\\system32\\winemine.exe")},
        {"own icon", Link("Notes.lnk", L"C:\\windows\\notepad.exe", L"%windir%\\regedit.exe", 2)},
        {"target without icon", Link("Control.lnk", L"C:\\windows\\system32\\control.exe")},
        {"missing drive", Link("Gone drive.lnk", L"Q:\\gone\\app.exe")},
        {"gone target", Link("Gone.lnk", L"C:\\windows\\gone\\other.exe")},
        {"url icon",
         folder.MakeFile("Site.url", "[InternetShortcut]\r\nURL=https://example.com/\r\n"
                                     "IconFile=C:\\windows\\system32\\winecfg.exe\r\n"
                                     "IconIndex=0\r\n")},
        {"url web icon", folder.MakeFile("Web.url", "[InternetShortcut]\r\nURL=https://a.example/"
                                                    "\r\nIconFile=https://a.example/x.ico\r\n")},
        {"url", folder.MakeFile("日本語.url", "[InternetShortcut]\nURL=https://example.com/\n")},
        {"text", folder.MakeFile("notes.txt", "words")}};
    std::map<std::string, ExactTimes> before;
    for (const auto& [what, path] : items) {
        cwtest::SetExactTimes(path, {131000000000000000, 132000000000000000, 131500000000000000});
        before[what] = cwtest::ExactTimesOf(path);
    }
    std::map<std::string, std::string> sources;
    for (const auto& [what, path] : items) {
        sources[what] = IconSourceOf(path);
        for (const int size : {16, 24, 32})
            EXPECT_EQ(IconWidth(IconOfSource(sources[what], size).Get()), size) << what;
        EXPECT_EQ(cwtest::ExactTimesOf(path), before[what]) << what;
    }
    EXPECT_EQ(sources["target"], "C:\\windows\\system32\\winemine.exe,0");
    EXPECT_EQ(sources["own icon"], "C:\\windows\\regedit.exe,2");
    EXPECT_EQ(sources["url icon"], "C:\\windows\\system32\\winecfg.exe,0");
    // Targets that are not there to ask, and icons on the web, show as their kind.
    EXPECT_EQ(sources["missing drive"], sources["gone target"]);
    EXPECT_EQ(sources["missing drive"].front(), '#');
    EXPECT_EQ(sources["url web icon"], sources["url"]);
    EXPECT_EQ(sources["url"].front(), '#');
    EXPECT_EQ(IconSourceOf(folder / "Never made.lnk"), "");

    // The platform's own doing, which the lookup undoes: under Wine (relatime), reading a file
    // whose access time lies in the past moves it.
    std::ifstream read(items.at("target"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(read), {}};
    if (UnderWine()) {
        EXPECT_NE(cwtest::ExactTimesOf(items.at("target")).accessed, before["target"].accessed);
    }
}

TEST_F(ShortcutIcons, ARefreshStormAndClosesDuringLookupsLeaveNoThreadOrHandle) {
    std::vector<std::string> files;
    for (int i = 0; i < 24; ++i)
        files.push_back(Link("Item " + std::to_string(i) + ".lnk", L"C:\\windows\\notepad.exe",
                             L"C:\\windows\\system32\\shell32.dll", i));
    const HWND owner =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const IconWorker::Lookup lookup{&IconSourceOf, &IconOfSource};
    for (const int size : {16, 24, 32}) { // the shell's own lists and caches, made once
        IconWorker worker(owner, WM_APP, lookup);
        worker.Restart(files, size);
        ASSERT_TRUE(cwtest::WaitUntil([&] { return worker.IconOf(files.back()) != nullptr; }));
    }
    const int handles = OpenHandles(), threads = Threads();
    for (int close = 0; close < 10; ++close) {
        IconWorker worker(owner, WM_APP, lookup);
        for (int refresh = 0; refresh < 20; ++refresh) {
            worker.Restart(files, 16 + refresh % 3 * 8);
            worker.SetVisible({files[(close + refresh) % files.size()]});
        }
    }
    EXPECT_EQ(Threads(), threads);
    EXPECT_EQ(OpenHandles(), handles);
    DestroyWindow(owner);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}
