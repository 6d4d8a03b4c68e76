#pragma once
#include "forms/Control.h"
#include "win32/WindowHook.h"

#include <string>

namespace cw {

// A list box of text rows: unsorted, without integral height, and with extended multiple
// selection (click, Shift+click, Ctrl+click) unless the design asks for another selection mode.
// Raises Click when the user changes the selection, DblClick, and KeyDown with the key code.
class ListBox : public Control {
public:
    explicit ListBox(std::string name) : Control(ControlKind::ListBox, std::move(name)) {}

    void AddItem(const std::string& text);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;

protected:
    void Configure(const PropertyBag& layout) override;
    const char* WindowClass() const override { return "ListBox"; }
    DWORD Style() const override;
    DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
    void Created() override;

private:
    LRESULT Hooked(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int multiSelect_ = 2; // 0 single, 1 simple, 2 extended
    WindowHook hook_;
};

} // namespace cw
