#include "win32/GdiFont.h"

#include "win32/Dpi.h"

#include <cmath>

namespace cw {

GdiFont::GdiFont(const Font& font) : GdiFont(font, SystemDpi()) {}

GdiFont::GdiFont(const Font& font, int dpi) {
    const double size = font.size > 0 && font.size < 2048 ? font.size : 8.25;
    const int height = -static_cast<int>(std::lround(size * (dpi > 0 ? dpi : kDefaultDpi) / 72.0));
    font_.Reset(CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                            font.underline, font.strikethrough, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            font.name.c_str()));
}

} // namespace cw
