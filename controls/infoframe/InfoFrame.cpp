#include "controls/infoframe/InfoFrame.h"

#include "controls/infoframe/Gradient.h"
#include "win32/Handles.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace cw {
namespace {

constexpr RECT kIconRect{12, 14, 12 + 32, 14 + 32};
constexpr int kLabelLeft = 56;
constexpr int kLabelTop = 21;
constexpr int kLabelHeight = 21;
constexpr int kLabelRightMargin = 71; // the label ends 15 pixels short of the strip's right edge
constexpr int kLineUpperY = 61;
constexpr int kLineLowerY = 62;
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
GdiObject<HFONT> MakeLabelFont(HWND hwnd) {
    const ClientDC dc(hwnd);
    const int dpi = dc ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
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
    labelFont_ = MakeLabelFont(Hwnd());
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
    const RECT label{kLabelLeft, kLabelTop, kLabelLeft + LabelWidth(), kLabelTop + kLabelHeight};
    const RECT lines{0, kLineUpperY, LinesEndX(), kLineLowerY + 1};
    for (const RECT& area : {kIconRect, label, lines})
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
    if (auto value = bag.ReadPicture("Icon", Picture()))
        icon_ = std::move(*value);
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
    host.SetSize(static_cast<int>(std::lround(host.ContainerClientWidth() * host.TwipsPerPixelX())),
                 static_cast<int>(std::lround(kHeight * host.TwipsPerPixelY())));
    resizing_ = false;
    // The gradient spreads over the whole width: a new width changes every column.
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

void InfoFrame::DrawChildren(HDC dc) const {
    const int labelWidth = LabelWidth();
    const int linesEndX = LinesEndX();
    const int saved = SaveDC(dc);
    if (const HICON icon = icon_.Handle()) {
        if (enabled_)
            DrawIconEx(dc, kIconRect.left, kIconRect.top, icon, 32, 32, 0, nullptr, DI_NORMAL);
        else
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, kIconRect.left,
                       kIconRect.top, 32, 32, DST_ICON | DSS_DISABLED);
    }
    if (labelWidth > 0 && !text_.empty()) {
        SelectObject(dc, labelFont_.Get());
        SetBkMode(dc, TRANSPARENT);
        const int length = static_cast<int>(std::min<size_t>(text_.size(), INT_MAX));
        if (enabled_) {
            SetTextColor(dc, ResolveColour(foreColor_));
            RECT label{kLabelLeft, kLabelTop, kLabelLeft + labelWidth, kLabelTop + kLabelHeight};
            DrawTextA(dc, text_.c_str(), length, &label,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            // The system's disabled look (etched grey) within the same 21-pixel box.
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text_.c_str()),
                       static_cast<WPARAM>(length), kLabelLeft, kLabelTop, labelWidth, kLabelHeight,
                       DST_TEXT | DSS_DISABLED);
        }
    }
    FillBand(dc, 0, kLineUpperY, linesEndX, kLineUpperColour);
    FillBand(dc, 0, kLineLowerY, linesEndX, kLineLowerColour);
    RestoreDC(dc, saved);
}

int InfoFrame::LabelWidth() const {
    return std::max(0, ClientWidth() - kLabelRightMargin);
}

int InfoFrame::LinesEndX() const {
    return ClientWidth();
}

bool InfoFrame::OnLines(POINT point) const {
    return point.x >= 0 && point.x < LinesEndX() &&
           (point.y == kLineUpperY || point.y == kLineLowerY);
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
