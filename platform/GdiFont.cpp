#include "GdiFont.h"

#include <cmath>

namespace cw {

GdiFont::GdiFont(const Font& font) {
    int dpi = 96;
    if (HDC dc = GetDC(nullptr)) {
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
    }
    const double size = font.size > 0 && font.size < 2048 ? font.size : 8.25;
    const int height = -static_cast<int>(std::lround(size * dpi / 72.0));
    font_.reset(CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                            font.underline, font.strikethrough, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            font.name.c_str()));
}

} // namespace cw
