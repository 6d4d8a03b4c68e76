#pragma once
// What a component asks of the window that holds it (at run time a form, at design time the
// designer, in unit tests a test host).
#include "win32/Dpi.h"
#include "win32/Font.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cw {

// Docking of a component along an edge of the holding window.
enum class Align { None = 0, Top = 1, Bottom = 2 };

// Border styles of a holding window.
enum class BorderStyle {
    None = 0,
    FixedSingle = 1,
    Sizable = 2,
    FixedDialog = 3,
    FixedToolWindow = 4,
    SizableToolWindow = 5
};

class ComponentHost {
public:
    virtual ~ComponentHost() = default;

    // True in a running program, false while the holding window is being designed.
    virtual bool UserMode() const = 0;
    // A saved property changed (its persistence key); a designer marks the design as modified.
    virtual void PropertyChanged(const std::string& key) = 0;
    // The font a new component starts with.
    virtual Font AmbientFont() const = 0;

    virtual double TwipsPerPixelX() const = 0;
    virtual double TwipsPerPixelY() const = 0;
    // The holding window's DPI, for what is measured in points or in pixels at 96 dpi.
    virtual int Dpi() const { return DpiOfTwipsPerPixel(TwipsPerPixelY()); }

    // The holding window (the form) and its client width in pixels and border style.
    virtual HWND ContainerHwnd() const = 0;
    virtual int ContainerClientWidth() const = 0;
    virtual BorderStyle ContainerBorderStyle() const = 0;
    // Names and kinds ("InfoFrame", "StatusBar", "CommandButton", ...) of the holding window's
    // controls, in creation order.
    struct ControlInfo {
        std::string name;
        std::string kind;
    };
    virtual std::vector<ControlInfo> ContainerControls() const = 0;

    // The extender: the name of this component on its window, its docking and its outer size in
    // twips. Setting the size moves the component's window and makes it resize.
    virtual std::string Name() const = 0;
    virtual Align GetAlign() const = 0;
    virtual void SetAlign(Align align) = 0;
    virtual int Width() const = 0;  // twips
    virtual int Height() const = 0; // twips
    virtual void SetSize(int widthTwips, int heightTwips) = 0;
};

} // namespace cw
