#include "forms/Line.h"

#include "forms/Component.h"
#include "forms/Form.h"
#include "win32/Handles.h"
#include "win32/Twips.h"

#include <algorithm>

namespace cw {

void Line::Configure(const PropertyBag& layout) {
    Control::Configure(layout);
    x1_ = layout.ReadInt32("x1", x1_).value_or(x1_);
    y1_ = layout.ReadInt32("y1", y1_).value_or(y1_);
    x2_ = layout.ReadInt32("x2", x2_).value_or(x2_);
    y2_ = layout.ReadInt32("y2", y2_).value_or(y2_);
    borderColor_ = layout.ReadColour("bordercolor", borderColor_).value_or(borderColor_);
    borderWidth_ =
        std::clamp(layout.ReadInt32("borderwidth", borderWidth_).value_or(borderWidth_), 1, 100);
}

void Line::SetEnds(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    Repaint();
}

void Line::SetBorderColor(Colour colour) {
    borderColor_ = colour;
    Repaint();
}

void Line::Repaint() const {
    if (form_ && form_->Hwnd())
        InvalidateRect(form_->Hwnd(), nullptr, TRUE);
}

void Line::Draw(HDC dc, int originX, int originY) const {
    if (!Visible() || !form_)
        return;
    const double tx = form_->TwipsPerPixelX(), ty = form_->TwipsPerPixelY();
    const auto px = [](int twips, double perPixel, int origin) {
        return std::clamp(origin + TwipsToPixels(twips, perPixel), -32768, 32767);
    };
    const int ax = px(x1_, tx, originX), ay = px(y1_, ty, originY);
    const int bx = px(x2_, tx, originX), by = px(y2_, ty, originY);
    const COLORREF colour = ResolveColour(borderColor_);
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, borderWidth_, colour));
    {
        const SelectedObject selected(dc, pen.Get());
        MoveToEx(dc, ax, ay, nullptr);
        LineTo(dc, bx, by);
    }
    if (borderWidth_ == 1)
        SetPixel(dc, bx, by, colour); // LineTo leaves out the last point
}

} // namespace cw
