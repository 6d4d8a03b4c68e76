#include "forms/Image.h"

#include "forms/Form.h"
#include "win32/Dpi.h"

namespace cw {

void Image::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    picture_ = layout.ReadPicture("picture", picture_).value_or(picture_);
}

void Image::SetPicture(const Picture& picture) {
    picture_ = picture;
    Rescaled();
}

void Image::Rescaled() {
    const int dpi = form_ ? form_->Dpi() : kDefaultDpi;
    shown_ = picture_ ? picture_.AtSize(ScaleForDpi(picture_.Size() ? picture_.Size() : 32, dpi))
                      : picture_;
    if (Hwnd())
        InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Image::Draw(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (HICON icon = shown_.Handle())
        DrawIconEx(item.hDC, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace cw
