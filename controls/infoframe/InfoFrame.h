#pragma once
// The header strip across the top of a window: always 945 twips high (63 pixels at 96 dpi) and as
// wide as the holding window's client area, showing a 32 x 32 icon, one line of bold text, a
// background in one colour or in a left-to-right gradient, and an etched line along its bottom
// edge. Every measure in pixels below is at 96 dpi and scales with the holding window's DPI; the
// icon is drawn at the size its picture holds nearest to the scaled one.
//
// The icon, the text and the two lines are drawn on the strip's own surface; none of them has a
// window. A click or double click on the background, the icon or the text raises Click or
// DblClick; the lines and a disabled strip raise nothing.
#include "forms/Component.h"
#include "win32/Colour.h"
#include "win32/Handles.h"
#include "win32/Picture.h"

#include <functional>
#include <string>

namespace cw {

class InfoFrame : public Component {
public:
    static constexpr Colour kDefaultBackColor = 0x796150; // red 80, green 97, blue 121
    static constexpr Colour kDefaultGradientColor = 0x796150;
    static constexpr Colour kDefaultForeColor = 0;
    static constexpr int kHeightTwips = 945;

    explicit InfoFrame(ComponentHost& host);

    // Each set stores the value, tells the host (the persistence key is the property's name) and
    // repaints the strip at once. These hide Component's window-level colour and enabled state,
    // which the strip keeps in step with them.
    Colour BackColor() const { return backColor_; } // left end of the gradient
    void SetBackColor(Colour colour);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    Colour ForeColor() const { return foreColor_; } // the text
    void SetForeColor(Colour colour);
    Colour GradientColor() const { return gradientColor_; } // right end of the gradient
    void SetGradientColor(Colour colour);
    const Picture& Icon() const { return icon_; }
    void SetIcon(const Picture& icon);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);

    // Repaints the icon, the text and the lines.
    void Refresh();

    // Where the icon, the text and the lines go, in the strip's pixels, following its width: the
    // icon at (12, 14); the text box 21 high at (56, 21), ending 15 pixels short of the right
    // edge; the lines along the strip's last two rows, from x 0 to the right edge.
    RECT IconRect() const;
    RECT LabelRect() const;
    int LabelWidth() const;
    int LinesEndX() const;
    HFONT LabelFont() const { return labelFont_.Get(); }

    std::function<void()> Click;
    std::function<void()> DblClick;

    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) const override;
    void Resize() override;
    void DpiChanged() override;
    void Paint(HDC dc) override;
    void MouseClick(int button, int x, int y) override;
    void MouseDblClick(int button, int x, int y) override;

private:
    void UpdateControl();
    void Changed(const char* key);
    void DrawChildren(HDC dc);
    bool OnLines(POINT point) const;
    int Scaled(int pixelsAt96) const;
    std::string NewControlText() const;

    Colour backColor_ = 0;
    Colour foreColor_ = 0;
    Colour gradientColor_ = 0;
    Picture icon_;
    Picture shownIcon_; // at the holding window's DPI
    bool enabled_ = false;
    std::string text_;

    bool resizing_ = false;
    bool endsDoubleClick_ = false; // the next left button release completes a double click
    GdiObject<HFONT> labelFont_;
};

} // namespace cw
