#pragma once
#include "forms/Control.h"
#include "win32/Colour.h"
#include "win32/Picture.h"

namespace cw {

// A text label with its own text colour and, optionally, its own mouse pointer.
class Label : public Control {
public:
    explicit Label(std::string name) : Control(ControlKind::Label, std::move(name)) {}

    Colour ForeColor() const { return foreColor_; }
    void SetForeColor(Colour colour);
    // 0 the form's pointer, 99 the mouse icon; other values as for the form.
    int MousePointer() const { return mousePointer_; }
    const Picture& MouseIcon() const { return mouseIcon_; }

protected:
    void Configure(const PropertyBag& layout) override;
    const char* WindowClass() const override { return "Static"; }
    DWORD Style() const override { return SS_LEFT | SS_NOTIFY; }

private:
    Colour foreColor_ = 0x80000012; // the system's button text
    int mousePointer_ = 0;
    Picture mouseIcon_;
};

} // namespace cw
