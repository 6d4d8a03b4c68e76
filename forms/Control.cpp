#include "forms/Control.h"

#include "forms/Form.h"
#include "win32/Twips.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace cw {
namespace {

constexpr std::array<const char*, 8> kKindNames = {
    "CommandButton", "OptionButton", "Frame", "Label", "ListBox", "Image", "Line", "CheckBox"};

constexpr int kFromKeys = -1; // raised by the list's own key handling, not by a notification

// Every event of every kind of control, with the notification that raises it. Frames and lines
// raise none.
constexpr struct {
    ControlKind kind;
    Event event;
    int notification;
} kEvents[] = {
    {ControlKind::CommandButton, Event::Click, BN_CLICKED},
    {ControlKind::OptionButton, Event::Click, BN_CLICKED},
    {ControlKind::CheckBox, Event::Click, BN_CLICKED},
    {ControlKind::Label, Event::Click, STN_CLICKED},
    {ControlKind::Label, Event::DblClick, STN_DBLCLK},
    {ControlKind::Image, Event::Click, STN_CLICKED},
    {ControlKind::Image, Event::DblClick, STN_DBLCLK},
    {ControlKind::ListBox, Event::Click, LBN_SELCHANGE},
    {ControlKind::ListBox, Event::DblClick, LBN_DBLCLK},
    {ControlKind::ListBox, Event::KeyDown, kFromKeys},
};

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::optional<ControlKind> StandardControlKind(std::string_view name) {
    for (size_t i = 0; i < kKindNames.size(); ++i)
        if (SameName(name, kKindNames[i]))
            return static_cast<ControlKind>(i);
    return std::nullopt;
}

const char* ControlKindName(ControlKind kind) {
    return kKindNames[static_cast<size_t>(kind)];
}

Control::Control(ControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

Control::~Control() = default; // the form's window takes the control's window with it

void Control::Configure(const PropertyBag& layout) {
    left_ = layout.ReadInt32("left", left_).value_or(left_);
    top_ = layout.ReadInt32("top", top_).value_or(top_);
    width_ = layout.ReadInt32("width", width_).value_or(width_);
    height_ = layout.ReadInt32("height", height_).value_or(height_);
    tabIndex_ = layout.ReadInt32("tabindex", tabIndex_).value_or(tabIndex_);
    for (auto [key, grow] :
         {std::pair("growleft", &growLeft_), std::pair("growtop", &growTop_),
          std::pair("growwidth", &growWidth_), std::pair("growheight", &growHeight_)})
        *grow = std::clamp(layout.ReadInt32(key, *grow).value_or(*grow), 0, 100);
    enabled_ = layout.ReadBool("enabled", enabled_).value_or(enabled_);
    visible_ = layout.ReadBool("visible", visible_).value_or(visible_);
    caption_ = layout.ReadString("caption", caption_).value_or(caption_);
    if (layout.Text("font"))
        if (const auto font = layout.ReadFont("font", Font{}))
            font_ = *font;
}

void Control::Create(Form& form, Control* container, HWND parent, int id,
                     const PropertyBag& layout) {
    form_ = &form;
    container_ = container;
    Configure(layout);
    if (font_)
        gdiFont_ = GdiFont(*font_, form.Dpi());
    if (kind_ == ControlKind::Line)
        return;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | Style();
    if (visible_)
        style |= WS_VISIBLE;
    if (!enabled_)
        style |= WS_DISABLED;
    hwnd_ = CreateWindowExA(ExStyle(), WindowClass(), caption_.c_str(), style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        return;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    Reposition();
    Created();
}

HFONT Control::FontHandle() const {
    if (gdiFont_)
        return gdiFont_.Handle();
    return form_ ? form_->FontHandle() : nullptr;
}

void Control::Reposition() {
    if (!hwnd_ || !form_)
        return;
    const double x = form_->TwipsPerPixelX(), y = form_->TwipsPerPixelY();
    const SIZE growth = form_->Growth();
    const auto share = [](LONG by, int percent) { return static_cast<int>(by * percent / 100); };
    const int left = left_ + share(growth.cx, growLeft_), top = top_ + share(growth.cy, growTop_);
    const int width = std::max(0, width_ + share(growth.cx, growWidth_));
    const int height = std::max(0, height_ + share(growth.cy, growHeight_));
    MoveWindow(hwnd_, TwipsToWindowPixels(left, x, -32768), TwipsToWindowPixels(top, y, -32768),
               TwipsToWindowPixels(width, x), TwipsToWindowPixels(height, y), TRUE);
}

void Control::Rescale() {
    if (!form_)
        return;
    const GdiFont previous = std::move(gdiFont_); // held until the window lets go of it
    if (font_)
        gdiFont_ = GdiFont(*font_, form_->Dpi());
    if (hwnd_)
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    Reposition();
    Rescaled();
}

void Control::Move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Reposition();
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_)
        EnableWindow(hwnd_, enabled);
}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    if (hwnd_)
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (hwnd_)
        SetWindowTextA(hwnd_, caption.c_str());
}

void Control::SetFocus() {
    if (hwnd_)
        ::SetFocus(hwnd_);
}

const char* EventName(Event event) {
    switch (event) {
    case Event::Click:
        return "Click";
    case Event::DblClick:
        return "DblClick";
    case Event::KeyDown:
        return "KeyDown";
    }
    return "";
}

bool Control::Raises(Event event) const {
    return std::any_of(std::begin(kEvents), std::end(kEvents),
                       [&](const auto& e) { return e.kind == kind_ && e.event == event; });
}

std::optional<Event> Control::EventOf(int notification) const {
    for (const auto& e : kEvents)
        if (e.kind == kind_ && e.notification == notification && notification != kFromKeys)
            return e.event;
    return std::nullopt;
}

} // namespace cw
