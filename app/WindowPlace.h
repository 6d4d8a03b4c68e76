#pragma once
// The main window's size and place, kept for the next start in a small file beside the journal
// (per user). A kept place is restored only where it lies on a monitor present now, and at that
// monitor's scale: a window kept on a screen that is gone opens as designed.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace cw {

struct KeptPlace {
    RECT rect{};  // the window's normal (not maximised) rectangle, screen pixels
    int dpi = 96; // its monitor's scale when kept
    bool maximised = false;
};

std::string KeptPlaceText(const KeptPlace& place);
// Nothing for text that is not a kept place.
std::optional<KeptPlace> ReadKeptPlace(std::string_view text);

// Where the window goes now: on the present monitor that holds the kept rectangle's centre, its
// size scaled from the kept scale to that monitor's, inside its work area. Nothing when no present
// monitor holds the centre.
std::optional<RECT> RestoredRect(const KeptPlace& place);

// "<folder>window.txt"; "" for no folder.
std::string KeptPlacePath(const std::string& folder);
// Keeps the window's place; false when the file cannot be written (the next start is as
// designed, which is all that is lost).
bool KeepWindowPlace(HWND window, const std::string& path);
// Gives the hidden window its kept place; false (the window untouched) when there is none to use.
bool RestoreWindowPlace(HWND window, const std::string& path);

} // namespace cw
