#include "WindowLayout.h"

#include <gtest/gtest.h>

namespace cwtest {

std::map<HWND, RECT> ChildPlaces(HWND window) {
    std::map<HWND, RECT> places;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) {
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
            (*reinterpret_cast<std::map<HWND, RECT>*>(param))[child] = r;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&places));
    return places;
}

std::string NameOf(HWND window) {
    char text[128] = "";
    if (!GetWindowTextA(window, text, sizeof text))
        GetClassNameA(window, text, sizeof text);
    return text;
}

void ExpectInsideAndApart(HWND window) {
    const auto places = ChildPlaces(window);
    for (const auto& [child, place] : places) {
        if (!IsWindowVisible(child))
            continue;
        const HWND parent = GetParent(child);
        RECT inside{}, overlap{};
        GetClientRect(parent, &inside);
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= inside.right &&
                    place.bottom <= inside.bottom)
            << NameOf(child) << " leaves " << NameOf(parent);
        for (const auto& [other, otherPlace] : places) {
            if (other != child && GetParent(other) == parent && IsWindowVisible(other)) {
                EXPECT_FALSE(IntersectRect(&overlap, &place, &otherPlace))
                    << NameOf(child) << " overlaps " << NameOf(other);
            }
        }
    }
}

} // namespace cwtest
