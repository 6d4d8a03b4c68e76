#pragma once
#include "forms/Control.h"
#include "win32/WindowHook.h"

namespace cw {

// A frame (group box) holds its controls as child windows and passes their notifications on to
// the form, so that handlers see no difference between a control on a frame and one on the form.
class Frame : public Control {
public:
    explicit Frame(std::string name) : Control(ControlKind::Frame, std::move(name)) {}

protected:
    DWORD Style() const override { return BS_GROUPBOX | WS_CLIPCHILDREN; }
    DWORD ExStyle() const override { return WS_EX_CONTROLPARENT; }
    void Created() override;

private:
    static LRESULT Forward(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    WindowHook hook_;
};

} // namespace cw
