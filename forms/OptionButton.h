#pragma once
#include "forms/CheckBox.h"

namespace cw {

// An option button; the options of one container form one group, of which one is selected.
class OptionButton : public CheckedButton {
public:
    explicit OptionButton(std::string name)
        : CheckedButton(ControlKind::OptionButton, std::move(name)) {}

    // Selecting one option clears the others of its container, as a click does.
    void SetValue(bool value);

protected:
    DWORD Style() const override { return BS_AUTORADIOBUTTON; }
};

} // namespace cw
