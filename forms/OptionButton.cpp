#include "forms/OptionButton.h"

#include "forms/Form.h"

namespace cw {

void OptionButton::SetValue(bool value) {
    CheckedButton::SetValue(value);
    if (value && Hwnd() && form_)
        form_->OptionSelected(*this);
}

} // namespace cw
