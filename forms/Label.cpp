#include "forms/Label.h"

namespace cw {

void Label::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    foreColor_ = layout.ReadColour("forecolor", foreColor_).value_or(foreColor_);
    mousePointer_ = layout.ReadInt32("mousepointer", mousePointer_).value_or(mousePointer_);
    mouseIcon_ = layout.ReadPicture("mouseicon", mouseIcon_).value_or(mouseIcon_);
}

void Label::SetForeColor(Colour colour) {
    foreColor_ = colour;
    if (Hwnd())
        InvalidateRect(Hwnd(), nullptr, TRUE);
}

} // namespace cw
