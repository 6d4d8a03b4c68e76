#pragma once
// A window's children as laid out, for checks at every scale; works across processes too.
#include <windows.h>

#include <map>
#include <string>

namespace cwtest {

// Every child window (at any depth), at its place in its parent's client area.
std::map<HWND, RECT> ChildPlaces(HWND window);
// A window's text, or its class when it has none.
std::string NameOf(HWND window);
// Every visible child lies inside its parent's client area and clear of its visible siblings.
void ExpectInsideAndApart(HWND window);

} // namespace cwtest
