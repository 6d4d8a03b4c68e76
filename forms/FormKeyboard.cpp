#include "forms/FormKeyboard.h"

#include "forms/OptionButton.h"

#include <algorithm>
#include <climits>

namespace cw {
namespace {

void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on) {
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | bit) : (style & ~bit);
    if (wanted != style)
        SetWindowLongPtrA(hwnd, GWL_STYLE, wanted);
}

} // namespace

void FormKeyboard::ApplyTabOrder(const Controls& controls) {
    std::vector<Control*> containers{nullptr};
    for (const auto& c : controls)
        if (c->Kind() == ControlKind::Frame)
            containers.push_back(c.get());
    for (Control* container : containers) {
        std::vector<Control*> siblings;
        for (const auto& c : controls)
            if (c->Container() == container && c->Hwnd())
                siblings.push_back(c.get());
        std::stable_sort(siblings.begin(), siblings.end(), [](const Control* a, const Control* b) {
            const auto key = [](const Control* c) {
                return c->TabIndex() < 0 ? INT_MAX : c->TabIndex();
            };
            return key(a) < key(b);
        });
        HWND after = HWND_TOP;
        for (size_t i = 0; i < siblings.size(); ++i) {
            Control* c = siblings[i];
            SetWindowPos(c->Hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->Hwnd();
            const bool option = c->Kind() == ControlKind::OptionButton;
            const bool follows =
                option && i > 0 && siblings[i - 1]->Kind() == ControlKind::OptionButton;
            SetStyleBit(c->Hwnd(), WS_GROUP, !follows);
            const bool stop =
                c->Kind() == ControlKind::CommandButton || c->Kind() == ControlKind::ListBox;
            SetStyleBit(c->Hwnd(), WS_TABSTOP, stop);
        }
        for (Control* c : siblings)
            if (c->Kind() == ControlKind::OptionButton)
                OptionSelected(controls, static_cast<OptionButton&>(*c)); // its group's tab stop
    }
}

void FormKeyboard::OptionSelected(const Controls& controls, OptionButton& option) {
    std::vector<OptionButton*> group;
    for (const auto& c : controls)
        if (c->Kind() == ControlKind::OptionButton && c->Container() == option.Container() &&
            c->Hwnd())
            group.push_back(static_cast<OptionButton*>(c.get()));
    if (option.Value())
        for (OptionButton* other : group)
            if (other != &option && other->Value())
                SendMessageA(other->Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    const auto selected =
        std::find_if(group.begin(), group.end(), [](OptionButton* o) { return o->Value(); });
    for (OptionButton* o : group)
        SetStyleBit(o->Hwnd(), WS_TABSTOP,
                    selected == group.end() ? o == group.front() : o == *selected);
}

bool FormKeyboard::HandleDialogKey(HWND form, MSG& msg) {
    return IsDialogMessageA(form, &msg) != FALSE;
}

void FormKeyboard::Activated(HWND form, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(form, focus))
            lastFocus_ = focus;
    } else if (!HIWORD(wParam)) { // not while minimised
        HWND focus = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_
                                                        : GetNextDlgTabItem(form, nullptr, FALSE);
        SetFocus(focus ? focus : form);
    }
}

} // namespace cw
