#include "controls/infoframe/InfoFrame.h"

#include "controls/infoframe/Gradient.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace cw {
namespace {

// At 96 dpi.
constexpr int kIconLeft = 12;
constexpr int kIconTop = 14;
constexpr int kIconSize = 32;
constexpr int kLabelLeft = 56;
constexpr int kLabelTop = 21;
constexpr int kLabelHeight = 21;
constexpr int kLabelRightMargin = 71; // the label ends 15 pixels short of the strip's right edge
constexpr COLORREF kLineUpperColour = RGB(128, 128, 128);
constexpr COLORREF kLineLowerColour = RGB(255, 255, 255);

std::int16_t Red(COLORREF c) {
    return static_cast<std::int16_t>(c & 255);
}
std::int16_t Green(COLORREF c) {
    return static_cast<std::int16_t>((c / 256) & 255);
}
std::int16_t Blue(COLORREF c) {
    return static_cast<std::int16_t>((c / 65536) & 255);
}

// Verdana 9.75 points bold, in pixels of the screen it is shown on.
GdiObject<HFONT> MakeLabelFont(int dpi) {
    const int height = -MulDiv(975, dpi, 7200);
    return GdiObject<HFONT>(CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Verdana"));
}

void FillBand(HDC dc, int left, int top, int right, COLORREF colour) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    if (!brush)
        return;
    const RECT band{left, top, right, top + 1};
    FillRect(dc, &band, brush.Get());
}

} // namespace

InfoFrame::InfoFrame(ComponentHost& host) : Component(host) {
    if (!Hwnd())
        return;
    labelFont_ = MakeLabelFont(host.Dpi());
}

void InfoFrame::SetBackColor(Colour colour) {
    backColor_ = colour;
    Changed("BackColor");
}

void InfoFrame::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed("Enabled");
}

void InfoFrame::SetForeColor(Colour colour) {
    foreColor_ = colour;
    Changed("ForeColor");
}

void InfoFrame::SetGradientColor(Colour colour) {
    gradientColor_ = colour;
    Changed("GradientColor");
}

void InfoFrame::SetIcon(const Picture& icon) {
    icon_ = icon;
    shownIcon_ = Picture();
    Changed("Icon");
}

void InfoFrame::SetText(const std::string& text) {
    text_ = text;
    Changed("Text");
}

void InfoFrame::Changed(const char* key) {
    Host().PropertyChanged(key);
    UpdateControl();
}

void InfoFrame::UpdateControl() {
    Component::SetBackColor(backColor_);
    Component::SetEnabled(enabled_);
    // Repaint now rather than at the next idle moment: a property set at run time shows at once.
    if (Hwnd())
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void InfoFrame::Refresh() {
    if (!Hwnd())
        return;
    const RECT lines{0, ClientHeight() - 2, LinesEndX(), ClientHeight()};
    for (const RECT& area : {IconRect(), LabelRect(), lines})
        InvalidateRect(Hwnd(), &area, TRUE);
    UpdateWindow(Hwnd());
}

std::string InfoFrame::NewControlText() const {
    const auto controls = Host().ContainerControls();
    const auto last = std::find_if(controls.rbegin(), controls.rend(),
                                   [](const auto& control) { return control.kind == "InfoFrame"; });
    return last != controls.rend() ? last->name : Host().Name();
}

void InfoFrame::InitProperties() {
    backColor_ = kDefaultBackColor;
    enabled_ = true;
    foreColor_ = kDefaultForeColor;
    gradientColor_ = kDefaultGradientColor;
    icon_ = Picture();
    text_ = NewControlText();
    UpdateControl();
}

void InfoFrame::ReadProperties(const PropertyBag& bag) {
    if (const auto value = bag.ReadColour("BackColor", kDefaultBackColor))
        backColor_ = *value;
    if (const auto value = bag.ReadBool("Enabled", true))
        enabled_ = *value;
    if (const auto value = bag.ReadColour("ForeColor", kDefaultForeColor))
        foreColor_ = *value;
    if (const auto value = bag.ReadColour("GradientColor", kDefaultGradientColor))
        gradientColor_ = *value;
    if (auto value = bag.ReadPicture("Icon", Picture())) {
        icon_ = std::move(*value);
        shownIcon_ = Picture();
    }
    if (auto value = bag.ReadString("Text", ""))
        text_ = std::move(*value);
    UpdateControl();
}

void InfoFrame::WriteProperties(PropertyBag& bag) const {
    bag.WriteColour("BackColor", backColor_, kDefaultBackColor);
    bag.WriteBool("Enabled", enabled_, true);
    bag.WriteColour("ForeColor", foreColor_, kDefaultForeColor);
    bag.WriteColour("GradientColor", gradientColor_, kDefaultGradientColor);
    bag.WritePicture("Icon", icon_, Picture());
    bag.WriteString("Text", text_, "");
}

void InfoFrame::Resize() {
    // Our own SetSize below moves the window and comes back here.
    if (resizing_)
        return;
    resizing_ = true;
    ComponentHost& host = Host();
    // Twips that still give the holding window's width are kept: no drift from scale to scale.
    const int width = host.ContainerClientWidth();
    const double perPixel = host.TwipsPerPixelX();
    const int widthTwips = static_cast<int>(std::lround(host.Width() / perPixel)) == width
                               ? host.Width()
                               : static_cast<int>(std::lround(width * perPixel));
    host.SetSize(widthTwips, kHeightTwips);
    resizing_ = false;
    // The gradient spreads over the whole width: a new width changes every column.
    Invalidate();
}

void InfoFrame::DpiChanged() {
    if (!Hwnd())
        return;
    labelFont_ = MakeLabelFont(Host().Dpi());
    shownIcon_ = Picture();
    Invalidate();
}

void InfoFrame::Paint(HDC dc) {
    // Equal colours: the background fill has already painted the strip.
    if (backColor_ != gradientColor_) {
        const COLORREF from = ResolveColour(backColor_);
        const COLORREF to = ResolveColour(gradientColor_);
        Gradient gradient;
        gradient.SetOwnerHwnd(Hwnd());
        gradient.SetUpDown(false);
        gradient.Show(Red(from), Green(from), Blue(from), Red(to), Green(to), Blue(to));
    }
    DrawChildren(dc);
}

void InfoFrame::DrawChildren(HDC dc) {
    const RECT label = LabelRect();
    const int linesEndX = LinesEndX();
    const int saved = SaveDC(dc);
    const RECT box = IconRect();
    const int side = box.right - box.left;
    if (icon_ && shownIcon_.Size() == 0)
        shownIcon_ = icon_.AtSize(side);
    if (const HICON icon = shownIcon_.Handle()) {
        // At the size the picture holds, centred in the scaled box; never larger than the box.
        const int size = std::min(shownIcon_.Size(), side);
        const int x = box.left + (side - size) / 2, y = box.top + (side - size) / 2;
        if (enabled_)
            DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
        else
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, size, size,
                       DST_ICON | DSS_DISABLED);
    }
    if (label.right > label.left && !text_.empty()) {
        SelectObject(dc, labelFont_.Get());
        SetBkMode(dc, TRANSPARENT);
        const int length = static_cast<int>(std::min<size_t>(text_.size(), INT_MAX));
        if (enabled_) {
            SetTextColor(dc, ResolveColour(foreColor_));
            RECT area = label;
            DrawTextA(dc, text_.c_str(), length, &area,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            // The system's disabled look (etched grey) within the same box.
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text_.c_str()),
                       static_cast<WPARAM>(length), label.left, label.top, label.right - label.left,
                       label.bottom - label.top, DST_TEXT | DSS_DISABLED);
        }
    }
    const int height = ClientHeight();
    FillBand(dc, 0, height - 2, linesEndX, kLineUpperColour);
    FillBand(dc, 0, height - 1, linesEndX, kLineLowerColour);
    RestoreDC(dc, saved);
}

int InfoFrame::Scaled(int pixelsAt96) const {
    return ScaleForDpi(pixelsAt96, Host().Dpi());
}

RECT InfoFrame::IconRect() const {
    const int left = Scaled(kIconLeft), top = Scaled(kIconTop), size = Scaled(kIconSize);
    return {left, top, left + size, top + size};
}

RECT InfoFrame::LabelRect() const {
    const int left = Scaled(kLabelLeft), top = Scaled(kLabelTop);
    return {left, top, left + LabelWidth(), top + Scaled(kLabelHeight)};
}

int InfoFrame::LabelWidth() const {
    return std::max(0, ClientWidth() - Scaled(kLabelRightMargin));
}

int InfoFrame::LinesEndX() const {
    return ClientWidth();
}

bool InfoFrame::OnLines(POINT point) const {
    return point.x >= 0 && point.x < LinesEndX() && point.y >= ClientHeight() - 2 &&
           point.y < ClientHeight();
}

void InfoFrame::MouseClick(int button, int x, int y) {
    if (button != 1)
        return;
    // Windows reports a double click as down, up, double click, up: the second release is part of
    // the double click, not a click of its own.
    if (std::exchange(endsDoubleClick_, false))
        return;
    if (enabled_ && !OnLines(POINT{x, y}) && Click)
        Click();
}

void InfoFrame::MouseDblClick(int button, int x, int y) {
    if (button != 1)
        return;
    endsDoubleClick_ = true;
    if (enabled_ && !OnLines(POINT{x, y}) && DblClick)
        DblClick();
}

} // namespace cw
