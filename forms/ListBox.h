#pragma once
#include "forms/Control.h"
#include "forms/IconRow.h"
#include "win32/WindowHook.h"

#include <functional>
#include <string>
#include <string_view>

namespace cw {

// A list box of text rows: unsorted, without integral height, and with extended multiple
// selection (click, Shift+click, Ctrl+click) unless the design asks for another selection mode.
// Raises Click when the user changes the selection, DblClick, and KeyDown with the key code.
// With the design's `icons = True` it draws its rows itself, each with an icon before its text,
// and still holds the rows' texts (LBS_HASSTRINGS) for every reader of them.
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

    // For a list with icons: how a row looks (without it, the text beside a placeholder), and a
    // call after each paint, when the rows shown may have changed.
    std::function<IconRow(int row, std::string_view text)> RowLook;
    std::function<void()> Painted;
    // Draws a row of the list's WM_DRAWITEM, which its form passes on.
    void Draw(const DRAWITEMSTRUCT& item) const;

protected:
    void Configure(const PropertyBag& layout) override;
    const char* WindowClass() const override { return "ListBox"; }
    DWORD Style() const override;
    DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
    void Created() override;
    void Rescaled() override;

private:
    LRESULT Hooked(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int multiSelect_ = 2; // 0 single, 1 simple, 2 extended
    bool icons_ = false;
    WindowHook hook_;
};

} // namespace cw
