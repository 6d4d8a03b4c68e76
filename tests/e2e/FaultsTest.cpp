// Faults a careful user met in the real program: regional date formats, paths past the old limit,
// a shortcut held open by another program, a double-click on Process. (A desktop folder that is
// not there: ProgramTest.) Each test starts clutterwise.exe on a desktop folder of its own.
#include "AppDriver.h"
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "TempFolder.h"
#include "app/FinalBox.h"
#include "fs/FolderListing.h"
#include "fs/WidePath.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

using namespace cwtest;

namespace {

constexpr const char* kFinal = cw::kSortByDateByHand; // Wine's desktop view cannot sort

std::string Shortcut(const std::string& folder, const std::string& name, long long localSeconds) {
    const std::string path = folder + "\\" + name + ".lnk";
    CloseHandle(CreateFileW(cw::WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                            nullptr));
    SetLocalStamp(path, localSeconds);
    return path;
}

long long LocalSecondsOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const SYSTEMTIME fields{year, month, 0, day, hour, minute, second, 0};
    FILETIME t{};
    SystemTimeToFileTime(&fields, &t);
    return static_cast<long long>((ULONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000000);
}

// The program on a desktop folder, with the controls a user works.
struct Running {
    explicit Running(const std::string& desktop) : redirect(desktop) {
        main = program.WaitForWindow(kTitle);
        const std::vector<HWND> lists = main ? ListsLeftToRight(main) : std::vector<HWND>{};
        current = lists.empty() ? nullptr : lists.front(); // "Current order:" is the left one
    }
    DesktopRedirect redirect;
    AppDriver program;
    HWND main = nullptr, current = nullptr;
};

// Values under HKCU\Control Panel\International for one scope; the previous ones (Wine's prefix
// holds every one of them) come back after.
struct RegionalFormats {
    using Values = std::vector<std::pair<std::string, std::string>>;
    explicit RegionalFormats(const Values& values) {
        for (const auto& [name, value] : values) {
            char old[256] = "";
            DWORD size = sizeof old;
            RegGetValueA(HKEY_CURRENT_USER, kKey, name.c_str(), RRF_RT_REG_SZ, nullptr, old, &size);
            previous.emplace_back(name, old);
            Set(name, value);
        }
    }
    ~RegionalFormats() {
        for (const auto& [name, value] : previous)
            Set(name, value);
    }
    static void Set(const std::string& name, const std::string& value) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size() + 1));
    }
    static constexpr const char* kKey = "Control Panel\\International";
    Values previous;
};

} // namespace

// Two-digit years, times without seconds and texts no reader takes back (Korean settings) must
// not change the order: it is the order of the times themselves. Runs alone (the formats are the
// whole prefix's while it runs).
TEST(RegionalFormats, ListingFollowsTheTimesWhateverTheirText) {
    const TempFolder desktop;
    for (const WORD year : {WORD{2100}, WORD{1925}, WORD{2035}, WORD{1999}, WORD{2020}})
        Shortcut(desktop.Path(), "Y" + std::to_string(year), LocalSecondsOf(year, 2, 1, 21, 0, 5));
    // Ten seconds apart, the later one first in the folder's own order.
    Shortcut(desktop.Path(), "Ten A", LocalSecondsOf(2021, 6, 1, 12, 0, 0));
    Shortcut(desktop.Path(), "Ten B", LocalSecondsOf(2021, 6, 1, 12, 0, 0));
    Texts ten;
    for (const cw::FolderEntry& found : cw::ListFolder(desktop.Path(), "Ten*.lnk"))
        ten.push_back(found.name.substr(0, found.name.size() - 4));
    ASSERT_EQ(ten.size(), 2u);
    SetLocalStamp(desktop / (ten[0] + ".lnk"), LocalSecondsOf(2021, 6, 1, 12, 0, 10));
    SetLocalStamp(desktop / (ten[1] + ".lnk"), LocalSecondsOf(2021, 6, 1, 12, 0, 0));
    const Texts expected{"Y1925", "Y1999", "Y2020", ten[1], ten[0], "Y2035", "Y2100"};

    const RegionalFormats::Values formats[] = {
        {{"sShortDate", "M/d/yy"}, {"sTimeFormat", "h:mm:ss tt"}},
        {{"sShortDate", "yy/MM/dd"}, {"sTimeFormat", "HH:mm"}},
        {{"sShortDate", "dd-MMM-yy"}, {"sTimeFormat", "HH:mm:ss"}},
        // "2020. 2. 1. 오후 9:00:05"
        {{"sShortDate", "yyyy. M. d."},
         {"sTimeFormat", "tt h:mm:ss"},
         {"s1159", "오전"},
         {"s2359", "오후"}}};
    for (const auto& format : formats) {
        const RegionalFormats regional(format);
        const Running app(desktop.Path());
        ASSERT_TRUE(app.current) << format[0].second;
        EXPECT_EQ(Rows(app.current), expected) << format[0].second << " " << format[1].second;
    }
}

// A desktop folder of 207 characters holding a shortcut whose full path has 278, and one that
// another program holds open for reading and writing (sharing both). A double-click on Process and
// a click on Refresh are queued before the run gets going, then Process is clicked while the run's
// first box is open. The long one is listed in its time order and stamped, the held one keeps its
// place and is reported, and the run happens once, with no refresh in between. "/undo" then puts
// the long one's times back.
TEST(Faults, LongPathsHeldShortcutsAndADoubleClickOnProcess) {
    const TempFolder temp;
    const std::string desktop = temp.MakeFolder(std::string(206 - temp.Path().size(), 'd'));
    const std::string name(278 - 208 - 4, 'L');
    const long long t = LocalSecondsNow() - 86400;
    Shortcut(desktop, "First", t - 300);
    const std::string longOne = Shortcut(desktop, name, t - 250);
    const std::string held = Shortcut(desktop, "Held", t - 200);
    Shortcut(desktop, "Last", t - 100);
    const HANDLE hold =
        CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);

    const Running app(desktop);
    ASSERT_TRUE(app.current);
    EXPECT_EQ(Rows(app.current), (Texts{"First", name, "Held", "Last"}));
    ASSERT_TRUE(MoveAll(app.main));
    const HWND process = Children(app.main, "Button", "Process").at(0);
    const HWND refresh = Children(app.main, "Button", "Refresh").at(0);
    // The program's thread waits while the input is queued, as it would behind a slow click.
    const HANDLE thread =
        OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(app.main, nullptr));
    SuspendThread(thread);
    for (const auto& [button, message] : {std::pair{process, WM_LBUTTONDOWN},
                                          {process, WM_LBUTTONUP},
                                          {process, WM_LBUTTONDBLCLK},
                                          {process, WM_LBUTTONUP},
                                          {refresh, WM_LBUTTONDOWN},
                                          {refresh, WM_LBUTTONUP}})
        PostMessageA(button, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    const long long before = LocalSecondsNow();
    ResumeThread(thread);
    CloseHandle(thread);
    EXPECT_TRUE(app.program.WaitForMessageBox());
    ClickButton(app.main, "Process");
    Texts boxes;
    while (const auto box = app.program.AnswerMessageBox(1500))
        boxes.push_back(box->text);
    const long long after = LocalSecondsNow();
    CloseHandle(hold);
    EXPECT_EQ(boxes, (Texts{"Error accessing " + held, kFinal}));
    EXPECT_TRUE(Rows(app.current).empty());
    const long long written = StampsOf(longOne).written;
    EXPECT_GE(written, before + 60);
    EXPECT_LE(written, after + 60);
    EXPECT_EQ(AppDriver("/undo").WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(StampsOf(longOne).written, t - 250);
    EXPECT_EQ(StampsOf(longOne).accessed, t - 250);
}
