#pragma once
#include "forms/Control.h"

namespace cw {

class CommandButton : public Control {
public:
    explicit CommandButton(std::string name)
        : Control(ControlKind::CommandButton, std::move(name)) {}

protected:
    DWORD Style() const override { return BS_PUSHBUTTON; }
};

} // namespace cw
