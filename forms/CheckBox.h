#pragma once
#include "forms/Control.h"

namespace cw {

// A button that is ticked or not: the check box and the option button.
class CheckedButton : public Control {
public:
    bool Value() const;
    // Sets the tick without raising a click.
    void SetValue(bool value);

protected:
    CheckedButton(ControlKind kind, std::string name) : Control(kind, std::move(name)) {}
    void Configure(const PropertyBag& layout) override;
    void Created() override;

private:
    bool value_ = false;
};

// A check box that a click ticks and clears.
class CheckBox : public CheckedButton {
public:
    explicit CheckBox(std::string name) : CheckedButton(ControlKind::CheckBox, std::move(name)) {}

protected:
    DWORD Style() const override { return BS_AUTOCHECKBOX; }
};

} // namespace cw
