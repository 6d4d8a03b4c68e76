#pragma once
// Where a form and its contents go. Designs are in twips; the window works in pixels at its own
// DPI. This part keeps the scale, the client area's designed size and the first show's place,
// fits the window to its client twips when the scale changes, and lays the contents out whenever
// the client area changes size (WM_SIZE: Dock). Whatever follows the window's size (a minimum
// size, fitting the screen's work area, controls that grow with the window) belongs here too.
#include "forms/PropertyBag.h"

#include <windows.h>

namespace cw {

class FormChildren;

// The window's rectangle inside a monitor's work area: moved in, and shrunk where it is larger.
RECT FitWithin(RECT window, const RECT& workArea);

class FormLayout {
public:
    explicit FormLayout(FormChildren& children) : children_(children) {}
    FormLayout(const FormLayout&) = delete;
    FormLayout& operator=(const FormLayout&) = delete;

    // The design's startupposition, left, top, clientwidth and clientheight; the scale becomes the
    // one new windows start at, until the window exists.
    void Read(const PropertyBag& layout);

    int Dpi() const { return dpi_; }
    double TwipsPerPixelX() const { return twipsPerPixelX_; }
    double TwipsPerPixelY() const { return twipsPerPixelY_; }
    void SetDpi(int dpi);

    // True when the system picks the window's place (startupposition 3).
    bool SystemPlaces() const { return startUpPosition_ == 3; }
    // The outer size of a window with these styles whose client area is as designed.
    SIZE DesignedWindowSize(DWORD style, DWORD exStyle) const;
    // The client area's size in twips. Twips that still give its pixels are kept as designed, so
    // that repeated changes of scale never drift.
    SIZE ClientTwips(HWND form) const;
    // The client twips a change of scale keeps: as now, but never below the design's size (a
    // window shrunk to fit a screen grows back where it fits again).
    SIZE KeptTwips(HWND form) const;
    // The client area's twips beyond the design's (below it, negative: a window shrunk to fit),
    // which the controls' grow keys share out.
    SIZE Growth() const { return growth_; }
    // The smallest outer size the user may drag a sizable window to: the design's, or the work
    // area where the design is larger.
    void LimitTracking(HWND form, MINMAXINFO& limits) const;
    // The window inside its monitor's work area, shrunk if need be.
    void FitWorkArea(HWND form) const;
    // The outer size that gives the client area the same twips at `dpi`.
    SIZE WindowSizeAt(HWND form, int dpi) const;
    // After a change of scale: the client area back to `twips`, the window keeping its place. The
    // frame is drawn at the system's measures where the system scales only the client area.
    void FitClient(HWND form, SIZE twips) const;
    // Left and top as designed, or centred over the visible owner or on the screen's work area.
    void PlaceAtFirstShow(HWND form, HWND visibleOwner) const;
    // Docked components span the client width along their edge, stacked in creation order; the
    // others go where their twips say. A component that resizes itself while being placed has
    // the pass run again.
    void Dock(HWND form);

private:
    void DockOnce(HWND form);
    void Grow(HWND form);

    FormChildren& children_;
    int startUpPosition_ = 3; // 0 manual, 1 centre over owner, 2 centre on screen, 3 system default
    int left_ = 0, top_ = 0;  // twips, for startupposition 0
    int clientWidth_ = 4800, clientHeight_ = 3600; // twips
    int dpi_ = 96;
    double twipsPerPixelX_ = 15.0, twipsPerPixelY_ = 15.0;
    SIZE growth_{0, 0}; // twips
    int docking_ = 0;
    bool dockAgain_ = false;
};

} // namespace cw
