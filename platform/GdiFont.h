#pragma once
// A GDI font made from a design's font, owned: deleted with this object.
#include "Font.h"

#include <windows.h>

#include <memory>

namespace cw {

class GdiFont {
public:
    GdiFont() = default;
    // At the screen's vertical dots per inch (points to pixels).
    explicit GdiFont(const Font& font);

    HFONT Handle() const { return font_.get(); }
    explicit operator bool() const { return font_ != nullptr; }

private:
    struct Deleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    std::unique_ptr<std::remove_pointer_t<HFONT>, Deleter> font_;
};

} // namespace cw
