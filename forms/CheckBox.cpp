#include "forms/CheckBox.h"

namespace cw {

void CheckedButton::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    value_ = layout.ReadBool("value", value_).value_or(value_);
}

void CheckedButton::Created() {
    SetValue(value_);
}

bool CheckedButton::Value() const {
    if (!Hwnd())
        return value_;
    return SendMessageA(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckedButton::SetValue(bool value) {
    value_ = value;
    if (Hwnd())
        SendMessageA(Hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace cw
