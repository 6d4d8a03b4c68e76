#pragma once
#include "forms/Control.h"
#include "win32/Picture.h"

namespace cw {

// Shows an icon at its own size, scaled to the form's DPI, in the top left corner of the control's
// place.
class Image : public Control {
public:
    explicit Image(std::string name) : Control(ControlKind::Image, std::move(name)) {}

    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture);

protected:
    friend class FormChildren;
    void Configure(const PropertyBag& layout) override;
    const char* WindowClass() const override { return "Static"; }
    DWORD Style() const override { return SS_OWNERDRAW | SS_NOTIFY; }
    void Created() override { Rescaled(); }
    void Rescaled() override;
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    Picture picture_;
    Picture shown_; // at the form's DPI
};

} // namespace cw
