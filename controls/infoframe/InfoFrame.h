#pragma once
// The header strip across the top of a window: always 63 pixels high and as wide as the holding
// window's client area, showing a 32 x 32 icon, one line of bold text, a background in one colour
// or in a left-to-right gradient, and an etched line along its bottom edge.
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
    static constexpr int kHeight = 63; // pixels

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

    // Where the text and the lines go, in pixels, following the strip's width: the text box is 21
    // high at (56, 21) and ends 15 pixels short of the right edge; the lines run along rows 61 and
    // 62 from x 0 to the right edge.
    int LabelWidth() const;
    int LinesEndX() const;

    std::function<void()> Click;
    std::function<void()> DblClick;

    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) const override;
    void Resize() override;
    void Paint(HDC dc) override;
    void MouseClick(int button, int x, int y) override;
    void MouseDblClick(int button, int x, int y) override;

private:
    void UpdateControl();
    void Changed(const char* key);
    void DrawChildren(HDC dc) const;
    bool OnLines(POINT point) const;
    std::string NewControlText() const;

    Colour backColor_ = 0;
    Colour foreColor_ = 0;
    Colour gradientColor_ = 0;
    Picture icon_;
    bool enabled_ = false;
    std::string text_;

    bool resizing_ = false;
    bool endsDoubleClick_ = false; // the next left button release completes a double click
    GdiObject<HFONT> labelFont_;
};

} // namespace cw
