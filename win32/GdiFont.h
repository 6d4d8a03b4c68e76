#pragma once
// A GDI font made from a design's font, owned: deleted with this object.
#include "win32/Font.h"
#include "win32/Handles.h"

#include <windows.h>

namespace cw {

class GdiFont {
public:
    GdiFont() = default;
    // At the screen's DPI (points to pixels).
    explicit GdiFont(const Font& font);
    // At a window's DPI.
    GdiFont(const Font& font, int dpi);

    HFONT Handle() const { return font_.Get(); }
    explicit operator bool() const { return static_cast<bool>(font_); }

private:
    GdiObject<HFONT> font_;
};

} // namespace cw
