#pragma once
// Base of the window components (status bar, system menu, header strip).
//
// A component owns its own child window of the holding window; the host creates the component,
// then calls Start (exactly one of InitProperties for a new component or ReadProperties for a
// saved one, then Resize), later WriteProperties (design time), and Terminate before the
// component goes. The component's window calls Resize when its size changes and Paint when it
// needs painting; clicks on the window's own surface arrive as MouseClick / MouseDblClick with
// the button (1 left, 2 right) and the place in client pixels.
#include "forms/ComponentHost.h"
#include "forms/PropertyBag.h"

#include <windows.h>

namespace cw {

class Component {
public:
    explicit Component(ComponentHost& host);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // What the host does once the component exists: InitProperties without a saved bag,
    // ReadProperties with one, then Resize. The window reports only changes of its size, so a
    // component created at another size than its place gets the chance to fix itself here.
    void Start(const PropertyBag* saved);

    virtual void InitProperties() {}
    virtual void ReadProperties(const PropertyBag& /*bag*/) {}
    virtual void WriteProperties(PropertyBag& /*bag*/) const {}
    virtual void Resize() {}
    // The holding window's DPI changed: fonts and pixel measures again; the host docks the
    // component at its new size afterwards.
    virtual void DpiChanged() {}
    virtual void Paint(HDC /*dc*/) {}
    virtual void Terminate() {}
    virtual void MouseClick(int /*button*/, int /*x*/, int /*y*/) {}
    virtual void MouseDblClick(int /*button*/, int /*x*/, int /*y*/) {}

    ComponentHost& Host() const { return host_; }
    // The component's own window (a child of the holding window).
    HWND Hwnd() const { return hwnd_; }
    int ClientWidth() const;  // pixels
    int ClientHeight() const; // pixels

    // The window's enabled state and background colour (0x00BBGGRR, or a system colour).
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t colour);
    void Invalidate();
    // Visible at run time or not (the system menu control shows only in design mode).
    void SetVisible(bool visible);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    ComponentHost& host_;
    HWND hwnd_ = nullptr;
    std::uint32_t backColor_ = 0x8000000F; // the system's button face
};

// The colour a colour value stands for now: system colours (high bit set) through GetSysColor.
COLORREF ResolveColour(std::uint32_t colour);

} // namespace cw
