#include "forms/FormPointer.h"

#include "forms/Label.h"

namespace cw {

HCURSOR PointerCursor(int pointer, const Picture& mouseIcon) {
    if (pointer == kPointerCustom && mouseIcon.Handle())
        return reinterpret_cast<HCURSOR>(mouseIcon.Handle());
    static const struct {
        int pointer;
        const char* cursor;
    } kCursors[] = {
        {kPointerCross, IDC_CROSS},
        {kPointerIBeam, IDC_IBEAM},
        {kPointerSize, IDC_SIZEALL},
        {kPointerSizeNESW, IDC_SIZENESW},
        {kPointerSizeNS, IDC_SIZENS},
        {kPointerSizeNWSE, IDC_SIZENWSE},
        {kPointerSizeWE, IDC_SIZEWE},
        {kPointerUpArrow, IDC_UPARROW},
        {kPointerHourglass, IDC_WAIT},
        {kPointerNoDrop, IDC_NO},
        {kPointerArrowHourglass, IDC_APPSTARTING},
        {kPointerArrowQuestion, IDC_HELP},
        {kPointerSizeAll, IDC_SIZEALL},
    };
    for (const auto& c : kCursors)
        if (c.pointer == pointer)
            return LoadCursorA(nullptr, c.cursor);
    return LoadCursorA(nullptr, IDC_ARROW);
}

void FormPointer::Read(const PropertyBag& layout) {
    pointer_ = layout.ReadInt32("mousepointer", kPointerDefault).value_or(kPointerDefault);
    icon_ = layout.ReadPicture("mouseicon", Picture()).value_or(Picture());
}

void FormPointer::Set(HWND form, int pointer) {
    pointer_ = pointer;
    POINT pt{};
    if (!form || !GetCursorPos(&pt))
        return;
    HWND over = WindowFromPoint(pt);
    if (!over || (over != form && !IsChild(form, over)))
        return;
    if (pointer_ != kPointerDefault) {
        SetCursor(PointerCursor(pointer_, icon_));
        return;
    }
    // The window under the mouse shows its own again.
    const LRESULT hit = SendMessageA(over, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(hit, WM_MOUSEMOVE));
}

// The form's pointer, when it has one, holds over its labels too.
bool FormPointer::SetCursorOver(const Label* label, LPARAM lParam) const {
    if (pointer_ != kPointerDefault) {
        SetCursor(PointerCursor(pointer_, icon_));
        return true;
    }
    if (LOWORD(lParam) == HTCLIENT && label && label->MousePointer() != kPointerDefault) {
        SetCursor(PointerCursor(label->MousePointer(), label->MouseIcon()));
        return true;
    }
    return false;
}

} // namespace cw
