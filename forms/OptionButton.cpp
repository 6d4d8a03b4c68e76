#include "forms/OptionButton.h"

#include "forms/Form.h"

namespace cw {

void OptionButton::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    value_ = layout.ReadBool("value", value_).value_or(value_);
}

void OptionButton::Created() {
    SendMessageA(Hwnd(), BM_SETCHECK, value_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool OptionButton::Value() const {
    if (!Hwnd())
        return value_;
    return SendMessageA(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetValue(bool value) {
    value_ = value;
    if (!Hwnd())
        return;
    SendMessageA(Hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value && form_)
        form_->OptionSelected(*this);
}

} // namespace cw
