// The main window in-process, on a desktop folder of this program's own: start-up, the item
// lists, moves and processing. The window stays hidden: under Wine, showing FormAbout later in the
// same process fails once a shown main window has been destroyed.
#include "DesktopRedirect.h"
#include "FileStamps.h"
#include "MessageBoxAnswerer.h"
#include "TempFolder.h"
#include "TestHost.h"
#include "UnixPath.h"
#include "app/DesktopItems.h"
#include "app/FinalBox.h"
#include "app/FormClutterwise.h"
#include "app/ItemLists.h"
#include "app/Journal.h"
#include "app/ReapplyAtSignIn.h"
#include "app/Runs.h"
#include "controls/Components.h"
#include "controls/statusbar/StatusBar.h"
#include "forms/DesignStore.h"
#include "forms/IconRow.h"
#include "forms/ListBox.h"
#include "fs/FolderListing.h"
#include "fs/WidePath.h"
#include "win32/DateTime.h"
#include "win32/Dpi.h"
#include "win32/FileTime.h"
#include "win32/Handles.h"
#include "win32/Program.h"
#include "win32/SingleInstance.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>

using namespace cw;
using namespace cwtest;

namespace {

using Rows = std::vector<std::string>;
constexpr const char* kCurrent = "ListItemsCurrent";
constexpr const char* kNew = "ListItemsNew";
// Wine's desktop view cannot be asked to sort: every run ends with the instruction.
constexpr const char* kFinal = kSortByDateByHand;

// Wine resolves the shell's Desktop folder once per process: it is redirected for the whole
// program, before any test asks, and each test empties the folder and fills it with what it needs.
const TempFolder desktop;
const DesktopRedirect redirect(desktop.Path());

// The shell's desktop as Desktop.Arrange looks for it (Wine has none): "Progman", a view, and
// below that the icon view, which counts the arrange requests (LVM_ARRANGE) it gets.
struct FakeShellDesktop {
    FakeShellDesktop() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "Progman";
        RegisterClassA(&wc);
        wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            arranged += msg == LVM_ARRANGE;
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        };
        wc.lpszClassName = "CwTestIconView";
        RegisterClassA(&wc);
        program =
            CreateWindowA("Progman", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        const HWND view =
            CreateWindowA("Static", "", WS_CHILD, 0, 0, 9, 9, program, nullptr, nullptr, nullptr);
        CreateWindowA("CwTestIconView", "", WS_CHILD, 0, 0, 9, 9, view, nullptr, nullptr, nullptr);
        arranged = 0;
    }
    ~FakeShellDesktop() { DestroyWindow(program); }
    HWND program;
    static inline int arranged = 0;
};

std::string Join(const Rows& rows) {
    std::string joined;
    for (const std::string& row : rows)
        joined += (joined.empty() ? "" : ",") + row;
    return joined;
}

} // namespace

class MainWindowStart : public ::testing::Test {
protected:
    void SetUp() override { RegisterComponents(); }
    MessageBoxAnswerer answerer;
    FormClutterwise form;
};

// Run by CTest on its own (CLUTTERWISE_TEST_ALREADY_ACTIVE): the instance mutex must be taken
// before this process first asks for it, and the answer holds for the process.
TEST_F(MainWindowStart, RefusesASecondInstanceBeforeShowingItsWindow) {
    if (!std::getenv("CLUTTERWISE_TEST_ALREADY_ACTIVE"))
        GTEST_SKIP() << "runs as test_app_already_active";
    const SingleInstance other(Program::InstanceName());
    // The window as the form unloads it.
    struct Watched : FormClutterwise {
        HWND created = nullptr;
        bool everVisible = false;
        void Form_Unload() override {
            created = Hwnd();
            everVisible = IsWindowVisible(Hwnd()) != FALSE;
        }
    } watched;
    EXPECT_FALSE(watched.Load());
    EXPECT_TRUE(watched.LoadError().empty());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].title, "Norvanta Clutterwise");
    EXPECT_EQ(answerer.Boxes()[0].text, "The application is already active");
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_NE(watched.created, nullptr);
    EXPECT_FALSE(watched.everVisible);
    EXPECT_FALSE(IsWindow(watched.created));
    EXPECT_TRUE(watched.DesktopFolder().empty()); // nothing else happened
}

// The caller shows the error; the window says nothing itself and is gone.
TEST_F(MainWindowStart, RefusesADesignWithoutAControlItsCodeUsesNamingIt) {
    for (const std::string name : {"CommandProcess", "StatusBarClutterwise"}) {
        DesignNode design = *LoadDesignResource("FormClutterwise").design;
        std::erase_if(design.children, [&](const DesignNode& node) { return node.name == name; });
        FormClutterwise broken;
        EXPECT_FALSE(broken.Load(design));
        EXPECT_NE(broken.LoadError().find(name), std::string::npos) << broken.LoadError();
        EXPECT_FALSE(broken.Hwnd());
    }
    EXPECT_TRUE(answerer.Boxes().empty());
}

// The main window on the test desktop, driven as a user drives it; its message boxes are
// answered and recorded.
class MainWindowItems : public MainWindowStart {
protected:
    void SetUp() override {
        MainWindowStart::SetUp();
        RemoveTree(desktop.Path());
        CreateDirectoryA(desktop.Path().c_str(), nullptr);
    }
    static std::string PathOf(const std::string& name) { return desktop / name; }
    static std::string Shortcut(const std::string& name, long long localSeconds) {
        desktop.MakeFile(name);
        SetLocalStamp(PathOf(name), localSeconds);
        return PathOf(name);
    }
    // Loaded, and what it posted for after its first paint done, as its message loop would.
    void Open() {
        ASSERT_TRUE(form.Load()) << form.LoadError();
        TestHost::Pump();
    }
    HWND Window(const char* name) { return form.Get<Control>(name).Hwnd(); }
    void Click(const char* button) { SendMessageA(Window(button), BM_CLICK, 0, 0); }
    void ClickRow(const char* list, int row, WPARAM keys = 0, bool twice = false) {
        RECT r{};
        SendMessageA(Window(list), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 5, r.top + 2);
        SendMessageA(Window(list), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(Window(list), WM_LBUTTONUP, keys, at);
        if (twice)
            SendMessageA(Window(list), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    }
    void Enter(const char* list) { SendMessageA(Window(list), WM_KEYDOWN, VK_RETURN, 1); }
    std::string Shown(int panel) {
        char text[256] = "";
        SendMessageA(form.GetComponent<StatusBar>("StatusBarClutterwise")->ControlHwnd(),
                     SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // What the user sees: both lists, panels 0 and 1, and which of >>, << and Process are enabled.
    std::string View() {
        std::string view = Join(ReadRows(Window(kCurrent))) + " | " + Join(ReadRows(Window(kNew))) +
                           " | " + Shown(0) + "| " + Shown(1) + "|";
        for (const auto& [button, label] : {std::pair{"CommandItemsAdd", " >>"},
                                            {"CommandItemsRemove", " <<"},
                                            {"CommandProcess", " Process"}})
            if (IsWindowEnabled(Window(button)))
                view += label;
        return view;
    }
    // Processes and checks each file's times against the clock around the run.
    void Process(const std::vector<std::pair<std::string, long long>>& offsets) {
        const long long before = LocalSecondsNow();
        Click("CommandProcess");
        const long long after = LocalSecondsNow();
        for (const auto& [name, offset] : offsets) {
            const FileStamps s = StampsOf(PathOf(name));
            EXPECT_GE(s.written, before + offset) << name;
            EXPECT_LE(s.written, after + offset) << name;
            EXPECT_EQ(s.accessed, s.written) << name;
            // Wine on Linux cannot set a creation time and reports the write time in its place.
            EXPECT_EQ(s.created, s.written) << name;
        }
    }
};

TEST_F(MainWindowItems, MovesRowsBothWaysAndRefreshStartsAgain) {
    long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"R0", "R1", "日本語", "R3", "R4"})
        Shortcut(std::string(name) + ".lnk", t++);
    Open();
    const struct {
        std::function<void()> act;
        const char* view;
    } steps[] = {
        {[&] {
             Enter(kNew); // a list without rows: nothing happens
             ClickRow(kCurrent, 1);
             ClickRow(kCurrent, 3, MK_CONTROL);
         },
         "R0,R1,日本語,R3,R4 |  | 5 current items / 2 selected | 0 new items / 0 selected | >>"},
        {[&] {
             Click("CommandItemsAdd");
             ClickRow(kNew, 0);
         },
         "R0,日本語,R4 | R1,R3 | 3 current items / 0 selected | 2 new items / 1 selected | <<"},
        // "<<" puts a row at the bottom of the current list, not back in its place by date.
        {[&] { Click("CommandItemsRemove"); },
         "R0,日本語,R4,R1 | R3 | 4 current items / 0 selected | 1 new item / 0 selected |"},
        {[&] { Click("CommandSelectall"); },
         "R0,日本語,R4,R1 | R3 | 4 current items / 4 selected | 1 new item / 0 selected | >>"},
        {[&] {
             Enter(kCurrent);
             Enter(kCurrent);
         },
         " | R3,R0,日本語,R4,R1 | 0 current items / 0 selected | 5 new "
         "items / 0 selected | Process"},
        {[&] { ClickRow(kNew, 2, 0, true); },
         "日本語 | R3,R0,R4,R1 | 1 current item / 0 selected | 4 new items / 0 selected |"},
        // Refresh drops the order built so far and lists by date again.
        {[&] {
             ClickRow(kNew, 0);
             Click("CommandRefresh");
         },
         "R0,R1,日本語,R3,R4 |  | 5 current items / 0 selected | 0 new items / 0 selected |"}};
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(View(), step.view);
    }
    EXPECT_EQ(form.MousePointer(), kPointerDefault);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(MainWindowItems, ProcessesOneMinuteApartAndReportsWhatItCannotStamp) {
    long long t = LocalSecondsNow() - 86400;
    for (const char* name : {"A", "B", "C", "D", "E"})
        Shortcut(std::string(name) + ".lnk", t++);
    Shortcut("A.pif", t);
    Shortcut("C.pif", t);
    Open();
    Click("CommandSelectall");
    Click("CommandItemsAdd");
    // Gone since the scan: B altogether (reported, its row still counts), C but for its ".pif".
    DeleteFileA(PathOf("B.lnk").c_str());
    DeleteFileA(PathOf("C.lnk").c_str());
    // D, a middle row, is held open by another program that lets others read it but not write.
    const HANDLE hold = CreateFileA(PathOf("D.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    const FakeShellDesktop shell;
    std::vector<std::pair<std::string, int>> seen; // panel 2 and the pointer at each box
    answerer.onBox = [&](const AnsweredBox&) { seen.emplace_back(Shown(2), form.MousePointer()); };

    Process({{"A.lnk", 0}, {"A.pif", 0}, {"C.pif", 120}, {"E.lnk", 240}});
    CloseHandle(hold);
    EXPECT_EQ(StampsOf(PathOf("B.lnk")).written, -1);
    EXPECT_EQ(StampsOf(PathOf("D.lnk")).written, t - 2);
    ASSERT_EQ(answerer.Boxes().size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(answerer.Boxes()[i].text,
                  "Error accessing " + PathOf("BCD"[i] + std::string(".lnk")));
        EXPECT_EQ(answerer.Boxes()[i].icon, BoxIcon::Exclamation);
    }
    EXPECT_EQ(answerer.Boxes()[3].text, kFinal);
    const std::pair<std::string, int> busy{"Processing items...", kPointerHourglass};
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{
                        busy, busy, busy, {"", kPointerHourglass}}));
    EXPECT_EQ(FakeShellDesktop::arranged, 1);
    // Nothing is rescanned: the lists stay as they are and may be processed again.
    EXPECT_EQ(ReadRows(Window(kNew)), (Rows{"A", "B", "C", "D", "E"}));

    Click("OptionMethodDescending");
    Process({{"A.lnk", 0}, {"A.pif", 0}, {"C.pif", -120}, {"D.lnk", -180}, {"E.lnk", -240}});
    EXPECT_EQ(answerer.Boxes().size(), 7u);
}

// "Reapply at sign-in" in the prefix's registry: only a value that starts this program's file (its
// path in any case) with "/reapply" shows ticked; a tick writes over any other (a moved copy's),
// clearing the box removes the value, and the next start shows it as it stands.
TEST_F(MainWindowItems, SignInBoxWritesRemovesAndReadsTheRunValue) {
    static const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const struct Cleanup {
        ~Cleanup() { RemoveSignInValue(); }
    } cleanup;
    const auto ticked = [&] {
        return SendMessageA(Window("CheckReapplyAtSignIn"), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    const std::string self = Program::Path();
    std::string upper = "\"" + self + "\" /reapply";
    CharUpperA(upper.data());
    const std::tuple<DWORD, std::string, bool> values[] = {
        {REG_SZ, "\"" + self + "\" /undo", false},
        {REG_SZ, self + " /reapply", false},
        {REG_BINARY, "1234", false},
        {REG_EXPAND_SZ, upper, true},
        {REG_SZ, "\"C:\\Old place\\clutterwise.exe\" /reapply", false}, // moved
    };
    for (const auto& [type, data, thisProgram] : values) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kRun, "Clutterwise", type, data.c_str(),
                                  static_cast<DWORD>(data.size() + 1)),
                  ERROR_SUCCESS);
        form.Unload();
        Open();
        EXPECT_EQ(ticked(), thisProgram) << data;
    }
    Click("CheckReapplyAtSignIn");
    EXPECT_TRUE(ticked());
    char data[1024] = "";
    DWORD size = sizeof data;
    RegGetValueA(HKEY_CURRENT_USER, kRun, "Clutterwise", RRF_RT_REG_SZ, nullptr, data, &size);
    EXPECT_EQ(data, "\"" + self + "\" /reapply");
    Click("CheckReapplyAtSignIn");
    EXPECT_FALSE(ticked());
    EXPECT_EQ(ReadSignInValue(), SignInValue::Absent);
    EXPECT_TRUE(RemoveSignInValue()) << "gone already";
    form.Unload();
    Open();
    EXPECT_FALSE(ticked());
    EXPECT_TRUE(answerer.Boxes().empty());
}

// The row's icon, once the worker has it, is drawn by the real list's owner drawing (the list's
// parent passes its WM_DRAWITEM on to the window) where the placeholder stood: the icon's square
// then holds pixels that are neither the list's background nor the placeholder's grey.
TEST_F(MainWindowItems, DrawsARowsIconInItsRowOnceItIsKnown) {
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // kept for the process
        ComRef<IShellLinkW> link;
        ComRef<IPersistFile> file;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(link.Put())),
                  S_OK);
        link->SetPath(L"C:\\windows\\notepad.exe");
        ASSERT_EQ(link->QueryInterface(IID_PPV_ARGS(file.Put())), S_OK);
        ASSERT_EQ(file->Save(Widen(PathOf("Notes.lnk")).c_str(), TRUE), S_OK);
    }
    Open();
    form.Show(); // icons are looked up once the lists paint
    const HWND list = Window(kCurrent);
    RECT row{};
    SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const int width = row.right - row.left, height = row.bottom - row.top;
    const int size = IconSizeForDpi(form.Dpi()), left = ScaleForDpi(2, form.Dpi());
    const ClientDC screen(nullptr);
    const HDC dc = CreateCompatibleDC(screen.Get());
    const GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    const HGDIOBJ previous = SelectObject(dc, bitmap.Get());
    const auto iconPixels = [&] {
        DRAWITEMSTRUCT item{ODT_LISTBOX,
                            static_cast<UINT>(GetDlgCtrlID(list)),
                            0,
                            ODA_DRAWENTIRE,
                            0,
                            list,
                            dc,
                            {0, 0, width, height},
                            0};
        SendMessageA(GetParent(list), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        int found = 0;
        for (int y = (height - size) / 2; y < (height + size) / 2; ++y)
            for (int x = left; x < left + size; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                found += pixel != GetSysColor(COLOR_WINDOW) && pixel != GetSysColor(COLOR_GRAYTEXT);
            }
        return found;
    };
    // Waits for the worker (a bound only against a hang: no time is asserted).
    int found = 0;
    for (int wait = 0; wait < 3000 && (found = iconPixels()) == 0; ++wait) {
        TestHost::Pump();
        Sleep(10);
    }
    EXPECT_GT(found, size * size / 8);
    SelectObject(dc, previous);
    DeleteDC(dc);
}

// A list without a window cannot take rows: moved there, they would be lost.
TEST(ItemLists, AMoveWithNowhereToGoKeepsTheRows) {
    const HWND list = CreateWindowA("ListBox", "", LBS_EXTENDEDSEL, 0, 0, 9, 9, nullptr, nullptr,
                                    nullptr, nullptr);
    ReplaceRows(list, {"a", "b"});
    SendMessageA(list, LB_SETSEL, TRUE, -1);
    MoveSelectedRows(list, nullptr);
    EXPECT_EQ(ReadRows(list), (Rows{"a", "b"}));
    DestroyWindow(list);
}

// "Undo" and "Reapply Order", with the journal emptied before and after each test. Times are
// compared to the 100 ns.
class UndoWindow : public MainWindowItems {
protected:
    static constexpr FileTimeValue kSecond = 10'000'000, kDay = 86'400 * kSecond;
    void SetUp() override {
        MainWindowItems::SetUp();
        RemoveTree(JournalFolder());
    }
    void TearDown() override { RemoveTree(JournalFolder()); }
    static std::string JournalFolder() {
        const std::string folder = Journal::UserFolder();
        return folder.substr(0, folder.size() - 1);
    }
    // A file whose three times differ, down to the 100 ns; what the file system kept of them.
    // Through Wine's Unix path, which seeks no other spelling: "mail.lnk" is not "Mail.lnk".
    static ExactTimes Make(const std::string& name, FileTimeValue at) {
        CloseHandle(CreateFileW(Widen(FastPathOf(desktop.Path()) + name).c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_ALWAYS, 0, nullptr));
        SetExactTimes(PathOf(name), {at + 1'234'567, at + kDay + 2'345'678, at + 3'456'789});
        return ExactTimesOf(PathOf(name));
    }
    bool Enabled(const char* name) { return IsWindowEnabled(Window(name)) != FALSE; }
    // Shortcuts a day apart from a month ago, the window opened on them, and all processed.
    std::map<std::string, ExactTimes> ProcessAll(const Rows& names, bool descending = false) {
        std::map<std::string, ExactTimes> made;
        FileTimeValue at = monthAgo;
        for (const std::string& name : names)
            made[name] = Make(name, at += kDay);
        Open();
        if (descending)
            Click("OptionMethodDescending");
        Click("CommandSelectall");
        Click("CommandItemsAdd");
        Click("CommandProcess");
        return made;
    }
    std::string LastBox() { return answerer.Boxes().empty() ? "" : answerer.Boxes().back().text; }

    const FileTimeValue monthAgo = UtcNow() - 30 * kDay;
};

// Two runs undone one by one; every time back to the 100 ns, also of a full path of 268 characters
// and of names the journal must keep apart and hold exactly. Wine on Linux cannot set a creation
// time: it reads back as the write time, before and after alike, so those compared are write times.
TEST_F(UndoWindow, PutsBackAllThreeTimesRunByRunAndListsTheDesktopAgain) {
    const std::string longName(268 - PathOf("").size() - 4, 'L');
    const Rows names{"Mail.lnk",   "Mail.pif",   "mail.lnk",       "Del\x7F.lnk",
                     "Straße.lnk", "日本語.lnk", longName + ".lnk"};
    const auto times = [&] {
        std::map<std::string, ExactTimes> all;
        for (const std::string& name : names)
            all[name] = ExactTimesOf(PathOf(name));
        return all;
    };
    const auto original = ProcessAll(names);
    EXPECT_TRUE(Enabled("CommandUndo"));
    EXPECT_TRUE(Enabled("CommandReapply"));
    const auto first = times();
    Click("OptionMethodDescending");
    Click("CommandProcess");
    EXPECT_NE(times().at("Straße.lnk"), first.at("Straße.lnk"));
    EXPECT_NE(times().at(longName + ".lnk"), first.at(longName + ".lnk"));

    Click("CommandUndo");
    EXPECT_EQ(times(), first);
    Click("CommandUndo");
    EXPECT_EQ(times(), original);
    EXPECT_EQ(ReadRows(Window(kCurrent)),
              (Rows{"Mail", "mail", "Del\x7F", "Straße", "日本語", longName}));
    EXPECT_EQ(form.Get<ListBox>("ListItemsNew").ListCount(), 0);
    EXPECT_FALSE(Enabled("CommandUndo"));
    EXPECT_FALSE(Enabled("CommandReapply"));
}

// Changed since the run: left alone and named; gone: skipped and named; held open: the same box
// as processing gives, the undo goes on, and the file stays to restore until the next Undo can.
TEST_F(UndoWindow, LeavesAloneWhatChangedSinceSkipsWhatIsGoneAndReportsWhatItCannotWrite) {
    auto original = ProcessAll({"A.lnk", "B.lnk", "C.lnk", "D.lnk", "E.lnk"});
    const ExactTimes changed{monthAgo, monthAgo, monthAgo};
    SetExactTimes(PathOf("B.lnk"), changed);
    DeleteFileA(PathOf("C.lnk").c_str());
    const HANDLE hold = CreateFileA(PathOf("D.lnk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    const size_t seen = answerer.Boxes().size(); // Process's own
    Click("CommandUndo");
    CloseHandle(hold);
    ASSERT_EQ(answerer.Boxes().size(), seen + 2);
    const AnsweredBox &error = answerer.Boxes()[seen], &done = answerer.Boxes()[seen + 1];
    EXPECT_EQ(error.text, "Error accessing " + PathOf("D.lnk"));
    EXPECT_EQ(error.icon, BoxIcon::Exclamation);
    EXPECT_EQ(done.text, "Restored 2 of 5 shortcuts.\r\n1 shortcut is still to restore: press Undo "
                         "again once it is free.\r\nLeft alone:\r\nB.lnk (changed since)\r\n"
                         "C.lnk (gone)\r\n\r\n" +
                             std::string(kFinal));
    EXPECT_EQ(done.icon, BoxIcon::Information);
    EXPECT_EQ(ExactTimesOf(PathOf("A.lnk")), original["A.lnk"]);
    EXPECT_EQ(ExactTimesOf(PathOf("E.lnk")), original["E.lnk"]);
    EXPECT_EQ(ExactTimesOf(PathOf("B.lnk")).written, changed.written);
    EXPECT_TRUE(Enabled("CommandUndo"));
    Click("CommandUndo");
    EXPECT_EQ(LastBox(), "Restored 1 of 1 shortcuts.\r\n\r\n" + std::string(kFinal));
    EXPECT_EQ(ExactTimesOf(PathOf("D.lnk")), original["D.lnk"]);
    EXPECT_FALSE(Enabled("CommandUndo"));
}

// A run cut short (no "finished" record): the next start says when it was and how far it got.
TEST_F(UndoWindow, TellsAtStartOfARunCutShort) {
    JournalRun run;
    run.started = UtcNow() - 10 * kSecond;
    run.folder = PathOf("");
    run.order = {{false, "A.lnk"}, {false, "B.lnk"}};
    FileTimeValue at = monthAgo;
    for (std::int64_t row = 0; row < 2; ++row) {
        const std::string name = run.order[row].name;
        const ExactTimes made = Make(name, at += kDay);
        run.files.push_back(
            {PathOf(name), row * 60, {made.created, made.accessed, made.written}, {}});
    }
    // A stamped as the run stamps: the clock's whole second (plus the row's offset, 0).
    const FileTimeValue clock = run.started - run.started % kSecond + kSecond;
    SetExactTimes(run.files[0].path, {clock, clock, clock});
    ASSERT_TRUE(Journal(Journal::UserFolder()).Save(run));
    Open();
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(LastBox(), "The run of " + FormatDateTime(*LocalCalendarTime(run.started)) +
                             " was cut short: 1 of 2 shortcuts were stamped. Undo puts their "
                             "times back; Process or Reapply Order finishes the order.");
    EXPECT_EQ(answerer.Boxes()[0].icon, BoxIcon::Information);
}

// An installer deletes a shortcut and makes it anew (the newest on the desktop) and adds one
// older than all, which the order's end already holds: the start tells of the one out of place,
// Reapply writes that one file alone, a second Reapply writes nothing (nor a run: the command
// line's test counts them), and Undo puts back only what the reapply wrote.
TEST_F(UndoWindow, ReapplyPutsBackOnlyWhatMovedAndUndoTakesBackOnlyThat) {
    const auto isDefault = [&] {
        return (GetWindowLongA(Window("CommandReapply"), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    };
    const auto all = [&] {
        std::map<std::string, ExactTimes> times;
        for (const char* name : {"A.lnk", "B.lnk", "C.lnk", "New.lnk"})
            times[name] = ExactTimesOf(PathOf(name));
        return times;
    };
    ProcessAll({"A.lnk", "B.lnk", "C.lnk"}, true); // A newest, then B, then C
    EXPECT_EQ(Shown(2), "");
    DeleteFileA(PathOf("B.lnk").c_str());
    const ExactTimes recreated = Make("B.lnk", UtcNow() + kDay);
    Make("New.lnk", monthAgo - 9 * kDay);
    form.Unload();
    Open();
    ASSERT_EQ(ReadRows(Window(kCurrent)), (Rows{"New", "C", "A", "B"}));
    EXPECT_EQ(Shown(2), "1 shortcut out of your order: Reapply Order puts it back");
    EXPECT_TRUE(isDefault());

    auto before = all();
    Click("CommandReapply");
    EXPECT_EQ(LastBox(), kFinal);
    EXPECT_EQ(ReadRows(Window(kCurrent)), (Rows{"New", "C", "B", "A"}));
    EXPECT_EQ(Shown(2), "");
    EXPECT_FALSE(isDefault());
    const auto after = all();
    for (const auto& [name, times] : after)
        if (name != "B.lnk")
            EXPECT_EQ(times, before.at(name)) << name << " was written";
    const ExactTimes& b = after.at("B.lnk");
    EXPECT_EQ(b.written % kSecond, 0u);
    EXPECT_GE(b.written, after.at("C.lnk").written + kSecond);
    EXPECT_LE(b.written + kSecond, after.at("A.lnk").written);
    EXPECT_EQ(b.accessed, b.written);

    Click("CommandReapply");
    EXPECT_EQ(LastBox(), kAlreadyInOrder);
    EXPECT_EQ(answerer.Boxes().back().icon, BoxIcon::Information);
    EXPECT_EQ(all(), after);

    Click("CommandUndo");
    EXPECT_EQ(LastBox(), std::string("Restored 1 of 1 shortcuts.\r\n\r\n") + kFinal);
    before["B.lnk"] = recreated;
    EXPECT_EQ(all(), before);
}

TEST_F(UndoWindow, ReportsAnUnreadableJournalOnceAndGoesOn) {
    JournalRun run;
    run.folder = "C:\\D\\";
    Journal journal(Journal::UserFolder());
    ASSERT_TRUE(journal.Save(run));
    std::ofstream(journal.Folder() + "journal-000001.txt") << "Clutterwise journal 1\nrun 1\n";
    Open();
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(LastBox(), "A journal of earlier runs could not be read and was set aside:\r\n" +
                             journal.Folder() + "journal-000001.damaged.txt");
    Click("CommandRefresh");
    EXPECT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_FALSE(Enabled("CommandUndo"));
}

// Without a journal a run could not be taken back: it does not start.
TEST_F(UndoWindow, StampsNothingWhenTheJournalCannotBeWritten) {
    const std::string folder = JournalFolder();
    CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
    std::ofstream(folder) << "a file where the journal's folder belongs";
    const ExactTimes a = ProcessAll({"A.lnk"}).at("A.lnk");
    DeleteFileA(folder.c_str());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(LastBox(), "Nothing was stamped: the journal's folder " + Journal::UserFolder() +
                             " cannot be made");
    EXPECT_EQ(ExactTimesOf(PathOf("A.lnk")), a);
}
