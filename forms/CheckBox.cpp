#include "forms/CheckBox.h"

namespace cw {

void CheckBox::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    value_ = layout.ReadBool("value", value_).value_or(value_);
}

void CheckBox::Created() {
    SetValue(value_);
}

bool CheckBox::Value() const {
    if (!Hwnd())
        return value_;
    return SendMessageA(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetValue(bool value) {
    value_ = value;
    if (Hwnd())
        SendMessageA(Hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace cw
