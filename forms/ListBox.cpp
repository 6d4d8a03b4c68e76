#include "forms/ListBox.h"

#include "forms/Form.h"
#include "forms/ListRows.h"

namespace cw {

void ListBox::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    multiSelect_ = layout.ReadInt32("multiselect", multiSelect_).value_or(multiSelect_);
    icons_ = layout.ReadBool("icons", icons_).value_or(icons_);
}

DWORD ListBox::Style() const {
    DWORD style = WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (multiSelect_ == 1)
        style |= LBS_MULTIPLESEL;
    else if (multiSelect_ == 2)
        style |= LBS_EXTENDEDSEL;
    if (icons_)
        style |= LBS_OWNERDRAWFIXED;
    return style;
}

void ListBox::Created() {
    hook_.Hook(Hwnd(), [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return Hooked(hwnd, msg, wParam, lParam);
    });
    if (icons_ && form_)
        FitIconRows(Hwnd(), form_->Dpi());
}

void ListBox::Rescaled() {
    if (icons_ && form_)
        FitIconRows(Hwnd(), form_->Dpi());
}

void ListBox::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) { // an empty list with the focus
        if (item.itemAction & ODA_FOCUS)
            DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const std::string text = RowText(item.hwndItem, static_cast<int>(item.itemID));
    IconRow row{text};
    if (RowLook)
        row = RowLook(static_cast<int>(item.itemID), text);
    DrawIconRow(item, row, form_ ? form_->Dpi() : 96);
}

void ListBox::AddItem(const std::string& text) {
    if (Hwnd())
        SendMessageA(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::RemoveItem(int index) {
    if (Hwnd() && index >= 0)
        SendMessageA(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
    if (Hwnd())
        SendMessageA(Hwnd(), LB_RESETCONTENT, 0, 0);
}

int ListBox::ListCount() const {
    return RowCount(Hwnd());
}

bool ListBox::Selected(int index) const {
    return Hwnd() && index >= 0 &&
           SendMessageA(Hwnd(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
    if (!Hwnd() || index < 0)
        return;
    if (multiSelect_ == 0)
        SendMessageA(Hwnd(), LB_SETCURSEL,
                     selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
    else
        SendMessageA(Hwnd(), LB_SETSEL, selected, static_cast<LPARAM>(index));
}

int ListBox::SelCount() const {
    if (!Hwnd())
        return 0;
    if (multiSelect_ == 0)
        return SendMessageA(Hwnd(), LB_GETCURSEL, 0, 0) == LB_ERR ? 0 : 1;
    const LRESULT n = SendMessageA(Hwnd(), LB_GETSELCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

LRESULT ListBox::Hooked(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter belongs to the list (its KeyDown), not to the dialog manager's default button.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        LRESULT code = WindowHook::Next(hwnd, msg, wParam, lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN: {
        int keyCode = static_cast<int>(wParam);
        if (form_)
            form_->RaiseKeyDown(*this, keyCode);
        if (!IsWindow(hwnd) || keyCode == 0)
            return 0; // unloaded by the handler, or the handler took the key
        return WindowHook::Next(hwnd, msg, static_cast<WPARAM>(keyCode), lParam);
    }
    case WM_PAINT:
        if (Painted) {
            const LRESULT painted = WindowHook::Next(hwnd, msg, wParam, lParam);
            const std::function<void()> after = Painted;
            after();
            return painted;
        }
        break;
    case WM_NCDESTROY:
        Detach();
        break;
    }
    return WindowHook::Next(hwnd, msg, wParam, lParam);
}

} // namespace cw
