#pragma once
// The mouse pointer over a form: the form's own pointer, or over a label the label's, as the
// design and the code set them.
#include "forms/PropertyBag.h"
#include "win32/Picture.h"

#include <windows.h>

namespace cw {

class Label;

// Mouse pointer values of forms and labels.
constexpr int kPointerDefault = 0; // the window's own: the form's, or the form's for a label
constexpr int kPointerArrow = 1;
constexpr int kPointerCross = 2;
constexpr int kPointerIBeam = 3;
constexpr int kPointerIcon = 4;
constexpr int kPointerSize = 5;
constexpr int kPointerSizeNESW = 6;
constexpr int kPointerSizeNS = 7;
constexpr int kPointerSizeNWSE = 8;
constexpr int kPointerSizeWE = 9;
constexpr int kPointerUpArrow = 10;
constexpr int kPointerHourglass = 11;
constexpr int kPointerNoDrop = 12;
constexpr int kPointerArrowHourglass = 13;
constexpr int kPointerArrowQuestion = 14;
constexpr int kPointerSizeAll = 15;
constexpr int kPointerCustom = 99; // the mouse icon

// The cursor a pointer value shows; the arrow for a value without one of its own.
HCURSOR PointerCursor(int pointer, const Picture& mouseIcon);

class FormPointer {
public:
    // The design's mousepointer and mouseicon.
    void Read(const PropertyBag& layout);
    int Pointer() const { return pointer_; }
    // Shows the new pointer at once if the mouse is over the form, even while a handler keeps
    // the message loop waiting.
    void Set(HWND form, int pointer);
    // WM_SETCURSOR over the form (`label`: the label the mouse is over, if any): true when it set
    // the cursor; false leaves it to the window under the mouse.
    bool SetCursorOver(const Label* label, LPARAM lParam) const;

private:
    int pointer_ = kPointerDefault;
    Picture icon_;
};

} // namespace cw
