#include "forms/Image.h"

namespace cw {

void Image::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    picture_ = layout.ReadPicture("picture", picture_).value_or(picture_);
}

void Image::SetPicture(const Picture& picture) {
    picture_ = picture;
    if (Hwnd())
        InvalidateRect(Hwnd(), nullptr, TRUE);
}

const char* Image::EventOf(int notification) const {
    if (notification == STN_CLICKED)
        return "Click";
    if (notification == STN_DBLCLK)
        return "DblClick";
    return nullptr;
}

void Image::Draw(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (HICON icon = picture_.Handle())
        DrawIconEx(item.hDC, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace cw
