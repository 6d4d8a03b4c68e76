#pragma once
#include "forms/Control.h"

namespace cw {

// A check box that a click ticks and clears; setting its value raises no click.
class CheckBox : public Control {
public:
    explicit CheckBox(std::string name) : Control(ControlKind::CheckBox, std::move(name)) {}

    bool Value() const;
    void SetValue(bool value);

protected:
    void Configure(const PropertyBag& layout) override;
    DWORD Style() const override { return BS_AUTOCHECKBOX; }
    void Created() override;

private:
    bool value_ = false;
};

} // namespace cw
