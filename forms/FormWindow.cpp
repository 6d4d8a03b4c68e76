#include "forms/FormWindow.h"

#include "forms/FormLayout.h"
#include "win32/Dpi.h"
#include "win32/OwnWindow.h"

#include <commctrl.h>

namespace cw {
namespace {

constexpr const char* kFormClass = "ClutterwiseForm";

void RegisterFormClass(WNDPROC proc) {
    static const bool registered = [proc] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        RegisterOwnClass(kFormClass, proc, CS_DBLCLKS, ButtonFace());
        return true;
    }();
    (void)registered;
}

// Owner of forms that stay out of the task bar but have no owner of their own.
HWND ParkingWindow() {
    static HWND parking = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 0, 0, 0, 0,
                                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return parking;
}

} // namespace

void FormWindow::Read(const PropertyBag& p, const std::string& name) {
    caption_ = p.ReadString("caption", name).value_or(name);
    const int border = p.ReadInt32("borderstyle", 2).value_or(2);
    borderStyle_ =
        border >= 0 && border <= 5 ? static_cast<BorderStyle>(border) : BorderStyle::Sizable;
    const bool dialogLike = borderStyle_ == BorderStyle::FixedDialog ||
                            borderStyle_ == BorderStyle::FixedToolWindow ||
                            borderStyle_ == BorderStyle::SizableToolWindow;
    controlBox_ = p.ReadBool("controlbox", true).value_or(true);
    minButton_ = p.ReadBool("minbutton", !dialogLike).value_or(!dialogLike) && !dialogLike;
    maxButton_ = p.ReadBool("maxbutton", !dialogLike).value_or(!dialogLike) && !dialogLike;
    showInTaskbar_ = p.ReadBool("showintaskbar", !dialogLike).value_or(!dialogLike);
    font_ = p.ReadFont("font", Font{}).value_or(Font{});
    icon_ = p.ReadPicture("icon", Picture()).value_or(Picture());
}

HWND FormWindow::Create(WNDPROC proc, void* object, HWND owner, const FormLayout& layout) const {
    RegisterFormClass(proc);
    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    switch (borderStyle_) {
    case BorderStyle::None:
        style |= WS_POPUP;
        break;
    case BorderStyle::FixedSingle:
        style |= WS_CAPTION;
        break;
    case BorderStyle::Sizable:
        style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case BorderStyle::FixedDialog:
        style |= WS_CAPTION | DS_MODALFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case BorderStyle::FixedToolWindow:
        style |= WS_CAPTION;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    case BorderStyle::SizableToolWindow:
        style |= WS_CAPTION | WS_THICKFRAME;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != BorderStyle::None && controlBox_) {
        style |= WS_SYSMENU;
        if (minButton_)
            style |= WS_MINIMIZEBOX;
        if (maxButton_)
            style |= WS_MAXIMIZEBOX;
    }
    if (showInTaskbar_)
        exStyle |= WS_EX_APPWINDOW;
    else if (!owner)
        owner = ParkingWindow();
    const SIZE size = layout.DesignedWindowSize(style, exStyle);
    // The place is set at the first show unless the system picks it now (its y is then unused).
    const int x = layout.SystemPlaces() ? CW_USEDEFAULT : 0;
    return CreateWindowExA(exStyle, kFormClass, caption_.c_str(), style, x, 0, size.cx, size.cy,
                           owner, nullptr, GetModuleHandleA(nullptr), object);
}

bool FormWindow::IsFormWindow(HWND hwnd) {
    char cls[32] = "";
    return hwnd && GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpiA(cls, kFormClass) == 0;
}

HWND FormWindow::VisibleOwner(HWND form) {
    HWND owner = GetWindow(form, GW_OWNER);
    return owner == ParkingWindow() || (owner && !IsWindowVisible(owner)) ? nullptr : owner;
}

void FormWindow::SetCaption(HWND form, const std::string& caption) {
    caption_ = caption;
    if (form)
        SetWindowTextA(form, caption.c_str());
}

GdiFont FormWindow::ScaleFont(int dpi) {
    GdiFont previous = std::move(gdiFont_);
    gdiFont_ = GdiFont(font_, dpi);
    return previous;
}

void FormWindow::SetIcon(HWND form, const Picture& icon, int dpi) {
    icon_ = icon;
    ShowIcons(form, dpi);
}

void FormWindow::ShowIcons(HWND form, int dpi) {
    const auto at = [&](int metric) {
        return icon_ ? icon_.AtSize(SystemMetricForDpi(metric, dpi)) : Picture();
    };
    const Picture big = at(SM_CXICON), small = at(SM_CXSMICON);
    if (form) {
        SendMessageA(form, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Handle()));
        SendMessageA(form, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Handle()));
    }
    bigIcon_ = big; // the window stops using the old icons before they are released
    smallIcon_ = small;
}

} // namespace cw
