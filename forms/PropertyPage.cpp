#include "forms/PropertyPage.h"

#include "win32/Barrier.h"
#include "win32/Dpi.h"
#include "win32/OwnWindow.h"
#include "win32/Twips.h"

namespace cw {
namespace {

constexpr const char* kPageClass = "ClutterwisePropertyPage";
constexpr int kFirstFieldId = 100;
constexpr int kDroppedListPixels = 120; // room for a combo box's list below its field

} // namespace

PropertyPage::PropertyPage(std::string caption, int widthTwips, int heightTwips)
    : caption_(std::move(caption)), widthTwips_(widthTwips), heightTwips_(heightTwips) {}

PropertyPage::~PropertyPage() {
    DestroyLinkedWindow(hwnd_);
}

bool PropertyPage::Create(HWND parent, int x, int y) {
    if (hwnd_)
        return false;
    RegisterOwnClass(kPageClass, &PropertyPage::WindowProc, 0, ButtonFace());
    // Laid out at the DPI of the window that holds the page.
    dpi_ = WindowDpi(parent);
    font_ = GdiFont(Font{}, dpi_);
    const double perPixel = TwipsPerPixelAt(dpi_);
    hwnd_ = CreateWindowExA(
        WS_EX_CONTROLPARENT, kPageClass, caption_.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
        x, y, TwipsToPixels(widthTwips_, perPixel), TwipsToPixels(heightTwips_, perPixel), parent,
        nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd_)
        return false;
    CreateFields();
    Initialize();
    return true;
}

void PropertyPage::SetChanged(bool changed) {
    changed_ = changed;
    if (OnChanged)
        OnChanged(changed);
}

HWND PropertyPage::Field(std::string_view name) const {
    for (const FieldEntry& f : fields_)
        if (lstrcmpiA(f.name.c_str(), std::string(name).c_str()) == 0)
            return f.hwnd;
    return nullptr;
}

Colour PropertyPage::BackColor(std::string_view name) const {
    const FieldEntry* f = Find(Field(name));
    return f ? f->backColor : kColourButtonFace;
}

HWND PropertyPage::Add(FieldKind kind, std::string name, const std::string& caption, int left,
                       int top, int width, int height) {
    const char* cls = "Static";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    Colour back = kColourButtonFace;
    int extraHeight = 0;
    switch (kind) {
    case FieldKind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case FieldKind::TextBox:
        cls = "Edit";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        back = kColourWindowBackground;
        break;
    case FieldKind::ComboBox:
        cls = "ComboBox";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        back = kColourWindowBackground;
        extraHeight = kDroppedListPixels;
        break;
    case FieldKind::CheckBox:
        // The caption on the left, level with the labels; the box on the right.
        cls = "Button";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_LEFT;
        break;
    case FieldKind::HScrollBar:
        cls = "ScrollBar";
        style |= WS_TABSTOP | SBS_HORZ;
        break;
    }
    const double tx = TwipsPerPixelAt(dpi_), ty = tx;
    const int id = kFirstFieldId + static_cast<int>(fields_.size());
    HWND field = CreateWindowExA(
        exStyle, cls, caption.c_str(), style, TwipsToPixels(left, tx), TwipsToPixels(top, ty),
        TwipsToPixels(width, tx), TwipsToPixels(height, ty) + ScaleForDpi(extraHeight, dpi_), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (field) {
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
        if (kind == FieldKind::HScrollBar)
            SetScrollRange(field, SB_CTL, 0, 0, FALSE);
    }
    fields_.push_back({std::move(name), kind, field, back});
    return field;
}

std::string PropertyPage::Text(HWND field) {
    const int length = GetWindowTextLengthA(field);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(field, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void PropertyPage::SetText(HWND field, const std::string& text) {
    settingText_ = true;
    SetWindowTextA(field, text.c_str());
    settingText_ = false;
    if (const FieldEntry* f = Find(field); f && f->kind == FieldKind::TextBox)
        Change(field);
}

void PropertyPage::AddItem(HWND combo, const std::string& text) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int PropertyPage::ListIndex(HWND combo) {
    return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

void PropertyPage::SetListIndex(HWND combo, int index) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Click(combo);
}

int PropertyPage::Value(HWND check) {
    return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void PropertyPage::SetValue(HWND check, int value) {
    SendMessageA(check, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(check);
}

int PropertyPage::ScrollValue(HWND bar) {
    return GetScrollPos(bar, SB_CTL);
}

void PropertyPage::SetScrollMax(HWND bar, int max) {
    SetScrollRange(bar, SB_CTL, 0, max > 0 ? max : 0, TRUE);
}

void PropertyPage::SetScrollValue(HWND bar, int value) {
    SetScrollPos(bar, SB_CTL, value, TRUE);
}

void PropertyPage::SetBackColor(HWND field, Colour colour) {
    for (FieldEntry& f : fields_)
        if (f.hwnd == field && field) {
            f.backColor = colour;
            InvalidateRect(field, nullptr, TRUE);
        }
}

std::vector<std::pair<HWND, PropertyPage::FieldKind>> PropertyPage::Fields() const {
    std::vector<std::pair<HWND, FieldKind>> out;
    for (const FieldEntry& f : fields_)
        out.emplace_back(f.hwnd, f.kind);
    return out;
}

const PropertyPage::FieldEntry* PropertyPage::Find(HWND field) const {
    if (!field)
        return nullptr;
    for (const FieldEntry& f : fields_)
        if (f.hwnd == field)
            return &f;
    return nullptr;
}

HBRUSH PropertyPage::Brush(Colour colour) {
    if (colour & 0x80000000u)
        return GetSysColorBrush(static_cast<int>(colour & 0xFF));
    auto& brush = brushes_[colour];
    if (!brush)
        brush.Reset(CreateSolidBrush(ResolveColour(colour)));
    return brush.Get();
}

LRESULT PropertyPage::FieldColours(HWND field, HDC dc) {
    const FieldEntry* f = Find(field);
    if (!f) // the edit box inside a combo box
        f = Find(GetParent(field));
    const Colour back = f ? f->backColor : kColourButtonFace;
    const bool enabled = !f || IsWindowEnabled(f->hwnd);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, ResolveColour(back));
    return reinterpret_cast<LRESULT>(Brush(back));
}

// A scroll bar control moves only when told to: its value follows the arrows and the thumb here,
// and a move that changes the value raises Change.
void PropertyPage::Scrolled(HWND bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(bar, SB_CTL, &info))
        return;
    int value = info.nPos;
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        --value;
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        ++value;
        break;
    case SB_LEFT:
        value = info.nMin;
        break;
    case SB_RIGHT:
        value = info.nMax;
        break;
    case SB_THUMBPOSITION:
        value = info.nTrackPos;
        break;
    default:
        return;
    }
    value = value < info.nMin ? info.nMin : value > info.nMax ? info.nMax : value;
    if (value == info.nPos)
        return;
    SetScrollPos(bar, SB_CTL, value, TRUE);
    Change(bar);
}

LRESULT PropertyPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const HWND field = reinterpret_cast<HWND>(lParam);
        const FieldEntry* f = Find(field);
        if (!f)
            return 0;
        const int code = HIWORD(wParam);
        if (f->kind == FieldKind::TextBox && code == EN_CHANGE && !settingText_)
            Change(field);
        else if ((f->kind == FieldKind::ComboBox && code == CBN_SELCHANGE) ||
                 (f->kind == FieldKind::CheckBox && code == BN_CLICKED))
            Click(field);
        return 0;
    }
    case WM_HSCROLL:
        if (const FieldEntry* f = Find(reinterpret_cast<HWND>(lParam));
            f && f->kind == FieldKind::HScrollBar)
            Scrolled(f->hwnd, LOWORD(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return FieldColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

LRESULT CALLBACK PropertyPage::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = LinkedObject<PropertyPage>(hwnd, msg, lParam);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE)
        self->hwnd_ = hwnd;
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        for (FieldEntry& f : self->fields_)
            f.hwnd = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return Barrier([&] { return self->HandleMessage(msg, wParam, lParam); });
}

} // namespace cw
