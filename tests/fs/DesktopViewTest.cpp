// The desktop's view sorted by date: the chain of shell calls against a fake shell that fails
// each step in turn, and the real shell, which under Wine cannot sort.
//
// The fake is written against the C form of the interfaces (the same binary layout): it fills only
// the table slots the chain calls, and a call to any other slot crashes the test.
#define CINTERFACE
#include "fs/Desktop.h"
#include "fs/DesktopView.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>
#include <propkey.h>
#include <servprov.h>
#include <shlguid.h>
#include <shobjidl.h>

using namespace cw;

namespace {

// The steps in the order the chain takes them, then none; the fake fails the one named.
enum Step {
    FindDesktop,
    NoDesktop,
    Services,
    Browser,
    ActiveView,
    FolderView2,
    Sort,
    Arrange,
    None
};

struct FakeShell {
    int failing = None;
    LONG references = 0; // handed out and not released
    SORTCOLUMN column{};
    int columns = 0;
    DWORD mask = 0, flags = 0;
    IShellWindows windows;
    IServiceProvider services;
    IShellBrowser browser;
    IShellView view;
    IFolderView2 folderView;

    HRESULT Answer(int step) const { return step == failing ? E_FAIL : S_OK; }
    template <typename I> HRESULT Hand(int step, I& face, void* out) {
        *static_cast<void**>(out) = step == failing ? nullptr : &face;
        references += step == failing ? 0 : 1;
        return Answer(step);
    }
} fake; // one test at a time

template <typename I> HRESULT STDMETHODCALLTYPE Query(I*, REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IServiceProvider))
        return fake.Hand(Services, fake.services, out);
    if (IsEqualIID(iid, IID_IFolderView2))
        return fake.Hand(FolderView2, fake.folderView, out);
    *out = nullptr;
    return E_NOINTERFACE;
}
template <typename I> ULONG STDMETHODCALLTYPE AddRef(I*) {
    return static_cast<ULONG>(++fake.references);
}
template <typename I> ULONG STDMETHODCALLTYPE Release(I*) {
    return static_cast<ULONG>(--fake.references);
}

IShellWindowsVtbl windowsTable{.QueryInterface = Query,
                               .AddRef = AddRef,
                               .Release = Release,
                               .FindWindowSW = [](IShellWindows*, VARIANT*, VARIANT*, int kind,
                                                  LONG*, int options, IDispatch** out) -> HRESULT {
                                   *out = nullptr;
                                   if (kind != SWC_DESKTOP || !(options & SWFO_NEEDDISPATCH))
                                       return E_INVALIDARG;
                                   // No such window: a success without an object.
                                   return fake.failing == NoDesktop
                                              ? S_FALSE
                                              : fake.Hand(FindDesktop, fake.windows, out);
                               }};
IServiceProviderVtbl servicesTable{
    .QueryInterface = Query,
    .AddRef = AddRef,
    .Release = Release,
    .QueryService = [](IServiceProvider*, REFGUID service, REFIID iid, void** out) {
        *out = nullptr;
        return IsEqualGUID(service, SID_STopLevelBrowser) && IsEqualIID(iid, IID_IShellBrowser)
                   ? fake.Hand(Browser, fake.browser, out)
                   : E_NOINTERFACE;
    }};
IShellBrowserVtbl browserTable{.QueryInterface = Query,
                               .AddRef = AddRef,
                               .Release = Release,
                               .QueryActiveShellView = [](IShellBrowser*, IShellView** out) {
                                   return fake.Hand(ActiveView, fake.view, out);
                               }};
IShellViewVtbl viewTable{.QueryInterface = Query, .AddRef = AddRef, .Release = Release};
IFolderView2Vtbl folderViewTable{.QueryInterface = Query,
                                 .AddRef = AddRef,
                                 .Release = Release,
                                 .SetCurrentFolderFlags =
                                     [](IFolderView2*, DWORD mask, DWORD flags) {
                                         fake.mask = mask;
                                         fake.flags = flags;
                                         return fake.Answer(Arrange);
                                     },
                                 .SetSortColumns =
                                     [](IFolderView2*, const SORTCOLUMN* columns, int n) {
                                         fake.column = columns[0];
                                         fake.columns = n;
                                         return fake.Answer(Sort);
                                     }};

} // namespace

TEST(DesktopView, SortsOnlyWhenEveryStepAnswersAndReleasesWhatItWasGiven) {
    for (int failing = FindDesktop; failing <= None; ++failing) {
        fake = {failing,
                0,
                {},
                0,
                0,
                0,
                {&windowsTable},
                {&servicesTable},
                {&browserTable},
                {&viewTable},
                {&folderViewTable}};
        const bool oldestFirst = failing % 2 == 0;
        EXPECT_EQ(SortDesktopViewByDate(fake.windows, oldestFirst), failing == None) << failing;
        EXPECT_EQ(fake.references, 0) << failing;
        if (failing < Sort)
            continue;
        EXPECT_TRUE(IsEqualPropertyKey(fake.column.propkey, PKEY_DateModified));
        EXPECT_EQ(fake.column.direction, oldestFirst ? SORT_ASCENDING : SORT_DESCENDING);
        EXPECT_EQ(fake.columns, 1);
        EXPECT_EQ(fake.mask, failing == Sort ? 0u : FWF_AUTOARRANGE) << "arranged only once sorted";
        EXPECT_EQ(fake.flags, failing == Sort ? 0u : FWF_AUTOARRANGE);
    }
}

// Under Wine the shell's view cannot sort: "not sorted", whatever COM the thread runs, and COM
// left as the thread had it.
TEST(DesktopView, WinesShellAnswersNotSortedAndLeavesComAsItWas) {
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "on Windows this would re-sort the machine's own desktop";
    const int none = -1;
    for (const int model : {none, int{COINIT_APARTMENTTHREADED}, int{COINIT_MULTITHREADED}}) {
        if (model != none) {
            ASSERT_EQ(CoInitializeEx(nullptr, static_cast<DWORD>(model)), S_OK);
        }
        EXPECT_FALSE(Desktop().SortByDate(true)) << model;
        const auto same = static_cast<DWORD>(model == none ? COINIT_APARTMENTTHREADED : model);
        EXPECT_EQ(CoInitializeEx(nullptr, same), model == none ? S_OK : S_FALSE) << model;
        CoUninitialize();
        if (model != none)
            CoUninitialize();
    }
}
