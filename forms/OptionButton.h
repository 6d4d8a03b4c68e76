#pragma once
#include "forms/Control.h"

namespace cw {

// An option button; the options of one container form one group, of which one is selected.
class OptionButton : public Control {
public:
    explicit OptionButton(std::string name) : Control(ControlKind::OptionButton, std::move(name)) {}

    bool Value() const;
    // Selecting one option clears the others of its container, as a click does.
    void SetValue(bool value);

protected:
    void Configure(const PropertyBag& layout) override;
    DWORD Style() const override { return BS_AUTORADIOBUTTON; }
    void Created() override;

private:
    bool value_ = false;
};

} // namespace cw
