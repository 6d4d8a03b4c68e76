#pragma once
// Drives the fields of a property page as a user does: typing into a text box, choosing a combo
// box entry, clicking a check box, clicking a scroll bar's arrow. Each sends what the real
// control sends its parent.
#include <windows.h>

#include <string>

namespace cwtest {

void Type(HWND edit, const std::string& text); // replaces the whole text
void Choose(HWND combo, int index);
void Tick(HWND check);
void Scroll(HWND bar, int code); // SB_LINERIGHT, SB_LINELEFT, ...
std::string TextOf(HWND window);
bool Enabled(HWND window);
int Position(HWND comboOrScrollBar); // the combo box's entry or the scroll bar's value
bool Ticked(HWND check);

} // namespace cwtest
