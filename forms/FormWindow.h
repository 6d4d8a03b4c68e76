#pragma once
// A form's own top-level window: its class, the styles its design's border style and buttons ask
// for, its caption, and the font and icons it shows at its DPI.
#include "forms/ComponentHost.h"
#include "forms/PropertyBag.h"
#include "win32/Font.h"
#include "win32/GdiFont.h"
#include "win32/Picture.h"

#include <windows.h>

#include <string>

namespace cw {

class FormLayout;

class FormWindow {
public:
    // The design's caption (the form's name without one), borderstyle, controlbox, minbutton,
    // maxbutton, showintaskbar, font and icon.
    void Read(const PropertyBag& layout, const std::string& name);
    // Creates the hidden window, its size and place from `layout`, with `object` as the
    // parameter of WM_NCCREATE. A form out of the task bar without an owner gets a hidden one.
    HWND Create(WNDPROC proc, void* object, HWND owner, const FormLayout& layout) const;
    // True for a window that Create made.
    static bool IsFormWindow(HWND hwnd);
    // The owner a form is placed over: none for the hidden owner or an owner that is not shown.
    static HWND VisibleOwner(HWND form);

    const std::string& Caption() const { return caption_; }
    void SetCaption(HWND form, const std::string& caption);
    BorderStyle GetBorderStyle() const { return borderStyle_; }
    const Font& GetFont() const { return font_; }
    HFONT FontHandle() const { return gdiFont_.Handle(); }
    // Makes the font for `dpi` and gives the previous one back, for the caller to hold until no
    // control uses it.
    GdiFont ScaleFont(int dpi);
    const Picture& Icon() const { return icon_; }
    void SetIcon(HWND form, const Picture& icon, int dpi);
    // The title bar's and the task bar's icons, at the sizes `dpi` asks for.
    void ShowIcons(HWND form, int dpi);

private:
    std::string caption_;
    BorderStyle borderStyle_ = BorderStyle::Sizable;
    bool controlBox_ = true, minButton_ = true, maxButton_ = true, showInTaskbar_ = true;
    Font font_;
    GdiFont gdiFont_;
    Picture icon_;                // as designed
    Picture bigIcon_, smallIcon_; // as the window shows them, at its DPI
};

} // namespace cw
