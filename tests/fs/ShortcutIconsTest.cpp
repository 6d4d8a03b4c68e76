// The icons of the sample desktop's items (tools/sample-desktop) as the shell shows them, found
// without moving the items' access times, and the icon worker on them: visible files first, on a
// thread of its own with COM, one icon per source, a hung lookup that holds up no call of the
// window's, and refreshes and closes during lookups that leave no thread or handle behind.
#include "FileStamps.h"
#include "ProcessWindows.h"
#include "TempFolder.h"
#include "fs/FileSystem.h"
#include "fs/ShortcutIcons.h"
#include "win32/IconWorker.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <process.h>
#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

using namespace cw;

namespace {

constexpr UINT kNotice = WM_APP + 7;

// The sample desktop made by the tool (--samples=<path>): the user's items, then those of all
// users.
class ShortcutIcons : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        std::string tool;
        for (const std::string& arg : ::testing::internal::GetArgvs())
            if (arg.rfind("--samples=", 0) == 0)
                tool = cwtest::WindowsPathOf(arg.substr(10));
        ASSERT_EQ(_spawnl(_P_WAIT, tool.c_str(), tool.c_str(), user.Path().c_str(),
                          allUsers.Path().c_str(), nullptr),
                  0)
            << tool;
        for (const auto* folder : {&user, &allUsers})
            for (const FileEntry& file : FileSystem().ListFiles(folder->Path()))
                items.push_back(*folder / file.name);
        std::sort(items.begin(), items.end());
    }
    void TearDown() override {
        DestroyWindow(owner);
        CoUninitialize();
    }

    const cwtest::TempFolder user, allUsers;
    std::vector<std::string> items;
    const HWND owner =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
};

bool AllKnown(const IconWorker& worker, const std::vector<std::size_t>& files) {
    return cwtest::WaitUntil([&] {
        return std::all_of(files.begin(), files.end(),
                           [&](std::size_t f) { return worker.IconOf(f) != nullptr; });
    });
}

int IconWidth(const OwnedIcon& icon) {
    ICONINFO info{};
    BITMAP bitmap{};
    const bool drawn =
        icon && GetIconInfo(icon.Get(), &info) && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return drawn ? bitmap.bmWidth : 0;
}

// The process's open handles (every value that names one) and its threads.
std::pair<int, int> HandlesAndThreads() {
    int handles = 0, threads = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    }
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry))
        threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    return {handles, threads};
}

} // namespace

TEST_F(ShortcutIcons, DifferAtEachSizeAndLeaveTheItemsAccessTimesAsTheyWere) {
    ASSERT_EQ(items.size(), 40u);
    EXPECT_EQ(FileSystem().ListFiles(allUsers.Path()).size(), 4u);
    std::map<std::string, std::string> sources;
    std::set<std::string> distinct;
    for (const std::string& item : items) {
        cwtest::SetExactTimes(item, {131000000000000000, 132000000000000000, 131500000000000000});
        const cwtest::ExactTimes before = cwtest::ExactTimesOf(item);
        const std::string name = item.substr(item.rfind('\\') + 1);
        sources[name] = IconSourceOf(item);
        distinct.insert(sources[name]);
        for (const int size : {16, 24, 32})
            EXPECT_EQ(IconWidth(IconOfSource(sources[name], size)), size) << name;
        EXPECT_EQ(cwtest::ExactTimesOf(item), before) << name;
    }
    EXPECT_GE(distinct.size(), 39u) << "Wine's kinds of program and Internet shortcut are one";
    EXPECT_EQ(sources["Minesweeper.lnk"], "C:\\windows\\system32\\winemine.exe,0");
    EXPECT_EQ(sources["Straße.lnk"], "C:\\windows\\regedit.exe,1");
    EXPECT_EQ(sources["Example Website.url"], "C:\\windows\\system32\\winhlp32.exe,0");
    // A target on a drive that is not there, and an icon on the web, show as their kind.
    EXPECT_EQ(sources["Old Game.lnk"].front(), '#');
    EXPECT_EQ(sources["Ελληνικά.url"].front(), '#');
    EXPECT_EQ(IconSourceOf(user / "Never made.lnk"), "");
    EXPECT_EQ(IconWidth(IconOfSource("C:\\windows\\system32\\control.exe,0", 24)), 24);

    // What the lookup undoes: under Wine (relatime), a read moves an access time in the past.
    std::ifstream(items[0], std::ios::binary).get();
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        EXPECT_NE(cwtest::ExactTimesOf(items[0]).accessed, 132000000000000000u);
    }
}

// A lookup that hangs (a drive that does not answer) holds none of the window's calls through a
// storm of refreshes; then the visible files come first, and notices to a window that is gone do
// no harm.
TEST_F(ShortcutIcons, AreLookedUpVisibleFirstOnAThreadOfItsOwnThatNothingHoldsUpOrLeavesBehind) {
    std::vector<std::string> files{user / "Old Game.lnk"};
    files.insert(files.end(), items.begin(), items.begin() + 6);
    files.push_back(user / "Copy.lnk");
    CopyFileA(files[1].c_str(), files[7].c_str(), FALSE);
    // The files read, with a "?" where read outside a single-threaded apartment or on another
    // thread than the first.
    const KernelHandle held(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const KernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::mutex mutex;
    std::vector<std::string> read;
    DWORD thread = 0;
    const auto source = [&](const std::string& file) {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        const bool apartment = SUCCEEDED(CoGetApartmentType(&type, &qualifier)) &&
                               (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
        {
            const std::lock_guard lock(mutex);
            thread = thread ? thread : GetCurrentThreadId();
            read.push_back(apartment && thread == GetCurrentThreadId() ? file : "?" + file);
        }
        if (file == files[0]) {
            SetEvent(held.Get());
            WaitForSingleObject(release.Get(), INFINITE);
        }
        return IconSourceOf(file);
    };
    // Each refresh gives a list of its own; the last one in reverse, where each path has another
    // place: what is known, and the lookup in flight, follow the path to its new place.
    const auto list = [&](bool reversed) {
        auto made = std::make_shared<TextList>();
        for (size_t i = 0; i < files.size(); ++i)
            made->Add(files[reversed ? files.size() - 1 - i : i]);
        made->Index();
        return IconWorker::Files(std::move(made));
    };
    std::vector<std::size_t> all(files.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    IconWorker worker(owner, kNotice, {source, &IconOfSource});
    WPARAM generation = worker.Restart(list(false), 16);
    WaitForSingleObject(held.Get(), INFINITE);
    for (int i = 0; i < 50; ++i) {
        generation = worker.Restart(list(i == 49), 16 + i % 2 * 8);
        EXPECT_FALSE(worker.TakeNotice(generation - 1));
        worker.SetVisible(i == 49 ? std::vector<std::size_t>{1, 2}
                                  : std::vector<std::size_t>{6, 5});
        EXPECT_EQ(worker.IconOf(i == 49 ? 7 : 0), nullptr);
    }
    SetEvent(release.Get());
    ASSERT_TRUE(cwtest::WaitUntil([&] {
        MSG msg;
        return PeekMessageA(&msg, owner, kNotice, kNotice, PM_REMOVE) && msg.wParam == generation;
    }));
    EXPECT_TRUE(worker.TakeNotice(generation));
    ASSERT_TRUE(AllKnown(worker, all));
    EXPECT_EQ(read, (std::vector<std::string>{files[0], files[6], files[5], files[7], files[4],
                                              files[3], files[2], files[1]}));
    EXPECT_NE(thread, GetCurrentThreadId());
    EXPECT_EQ(worker.IconOf(0), worker.IconOf(6)); // the copy and its original
    DestroyWindow(owner);
    const auto same = list(false);
    for (const int size : {32, 16}) {
        worker.Restart(same, size);
        worker.SetVisible(all);
        ASSERT_TRUE(AllKnown(worker, all));
    }

    // A storm of refreshes, each worker closed once a visible icon has come, while it looks up the
    // others, leaves no thread or handle behind: a worker that left one would leave ten. The shell
    // may open a handle of its own for the process now and then (a cache of one icon size).
    const auto [handles, threads] = HandlesAndThreads();
    for (size_t close = 0; close < 10; ++close) {
        IconWorker closed(owner, kNotice, {&IconSourceOf, &IconOfSource});
        for (int refresh = 0; refresh < 20; ++refresh)
            closed.Restart(same, 16 + refresh % 3 * 8);
        closed.SetVisible({close % files.size()});
        ASSERT_TRUE(AllKnown(closed, {close % files.size()}));
    }
    EXPECT_LT(HandlesAndThreads().first, handles + 10);
    EXPECT_EQ(HandlesAndThreads().second, threads);
}
