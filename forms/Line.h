#pragma once
#include "forms/Control.h"
#include "win32/Colour.h"

namespace cw {

// A line drawn on the form from (X1, Y1) to (X2, Y2), both ends included; twips in the
// container's coordinates. It has no window of its own.
class Line : public Control {
public:
    explicit Line(std::string name) : Control(ControlKind::Line, std::move(name)) {}

    int X1() const { return x1_; }
    int Y1() const { return y1_; }
    int X2() const { return x2_; }
    int Y2() const { return y2_; }
    void SetEnds(int x1, int y1, int x2, int y2);
    Colour BorderColor() const { return borderColor_; }
    void SetBorderColor(Colour colour);
    int BorderWidth() const { return borderWidth_; } // pixels

protected:
    friend class FormChildren;
    void Configure(const PropertyBag& layout) override;
    DWORD Style() const override { return 0; }
    void Draw(HDC dc, int originX, int originY) const;

private:
    void Repaint() const;
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Colour borderColor_ = 0x80000008; // the system's window text
    int borderWidth_ = 1;
};

} // namespace cw
