#include "tools/designer/PropertySheetHost.h"

#include "forms/Component.h"
#include "forms/PropertyPage.h"

#include "win32/Barrier.h"
#include "win32/Dpi.h"
#include "win32/Twips.h"

#include <commctrl.h>

#include <exception>

namespace cw {
namespace {

constexpr const wchar_t* kDialogFont = L"MS Shell Dlg";
constexpr WORD kDialogPoints = 8;

// A dialog template without controls: header, no menu, the standard class, no title, the font.
std::vector<WORD> EmptyTemplate(DWORD style, short cx, short cy) {
    std::vector<WORD> t;
    const auto dword = [&t](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    dword(style);
    dword(0);       // extended style
    t.push_back(0); // no controls
    t.push_back(0); // x
    t.push_back(0); // y
    t.push_back(static_cast<WORD>(cx));
    t.push_back(static_cast<WORD>(cy));
    t.push_back(0); // menu
    t.push_back(0); // class
    t.push_back(0); // title
    t.push_back(kDialogPoints);
    for (const wchar_t* c = kDialogFont; *c; ++c)
        t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
    return t;
}

INT_PTR CALLBACK ProbeProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The page's size in dialog units of the sheet's font, measured on a dialog in that font, at the
// dialog's DPI.
SIZE PageUnits(const PropertyPage& page) {
    const std::vector<WORD> probe = EmptyTemplate(WS_POPUP | DS_SETFONT, 4, 8);
    RECT base{0, 0, 4, 8};
    int dpi = SystemDpi();
    if (HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                                 reinterpret_cast<const DLGTEMPLATE*>(probe.data()),
                                                 nullptr, &ProbeProc, 0)) {
        MapDialogRect(dialog, &base);
        dpi = WindowDpi(dialog);
        DestroyWindow(dialog);
    }
    const int width = TwipsToPixels(page.WidthTwips(), TwipsPerPixelAt(dpi));
    const int height = TwipsToPixels(page.HeightTwips(), TwipsPerPixelAt(dpi));
    const LONG baseX = base.right > 0 ? base.right : 6, baseY = base.bottom > 0 ? base.bottom : 13;
    return {(width * 4 + baseX - 1) / baseX, (height * 8 + baseY - 1) / baseY};
}

} // namespace

PropertySheetHost::PropertySheetHost(PropertyPage& page, std::vector<Component*> selection)
    : page_(page), selection_(std::move(selection)) {}

bool PropertySheetHost::Run(HWND owner, const std::string& caption) {
    const SIZE units = PageUnits(page_);
    const std::vector<WORD> pageTemplate =
        EmptyTemplate(WS_CHILD | WS_DISABLED | WS_CAPTION | DS_SETFONT | DS_3DLOOK | DS_CONTROL,
                      static_cast<short>(units.cx), static_cast<short>(units.cy));

    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    page.hInstance = GetModuleHandleA(nullptr);
    page.pResource = reinterpret_cast<const DLGTEMPLATE*>(pageTemplate.data());
    page.pszTitle = page_.Caption().c_str();
    page.pfnDlgProc = &PropertySheetHost::PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);

    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_PROPTITLE | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = caption.c_str();
    header.nPages = 1;
    header.ppsp = &page;
    return PropertySheetA(&header) >= 0;
}

void PropertySheetHost::PageCreated(HWND dialog) {
    pageDialog_ = dialog;
    sheet_ = GetParent(dialog);
    page_.SetSelectedControls(selection_);
    page_.OnChanged = [this](bool changed) {
        if (sheet_)
            SendMessageA(sheet_, changed ? PSM_CHANGED : PSM_UNCHANGED,
                         reinterpret_cast<WPARAM>(pageDialog_), 0);
    };
    if (page_.Create(dialog))
        page_.SelectionChanged();
}

// OK applies too; with nothing pending it leaves the design alone.
LRESULT PropertySheetHost::Apply() {
    if (!page_.Changed())
        return PSNRET_NOERROR;
    try {
        page_.ApplyChanges();
    } catch (const std::exception& e) {
        MessageBoxA(sheet_, e.what(), page_.Caption().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return PSNRET_INVALID_NOCHANGEPAGE;
    }
    page_.SetChanged(false);
    return PSNRET_NOERROR;
}

void PropertySheetHost::PageDestroyed() {
    page_.Terminate();
    page_.OnChanged = nullptr;
    sheet_ = nullptr;
    pageDialog_ = nullptr;
}

// A dialog procedure answers FALSE for "not handled", also after a reported failure.
INT_PTR CALLBACK PropertySheetHost::PageProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    return Barrier([&] { return HandlePageMessage(dialog, msg, lParam); }, FALSE);
}

INT_PTR PropertySheetHost::HandlePageMessage(HWND dialog, UINT msg, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        auto* self = reinterpret_cast<PropertySheetHost*>(sheetPage->lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->PageCreated(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<PropertySheetHost*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    switch (msg) {
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY)) {
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, self->Apply());
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        self->PageDestroyed();
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace cw
