#include "forms/Form.h"

#include "forms/DesignStore.h"
#include "forms/Label.h"
#include "forms/OptionButton.h"
#include "win32/Barrier.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/OwnWindow.h"
#include "win32/Trace.h"
#include "win32/Twips.h"

namespace cw {
namespace {

constexpr UINT kGetDpiScaledSize = 0x02E4; // WM_GETDPISCALEDSIZE, which older headers lack

} // namespace

Form::Form(std::string designName) : designName_(std::move(designName)) {}

Form::~Form() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

Form* Form::FromHwnd(HWND hwnd) {
    return FormWindow::IsFormWindow(hwnd) ? LinkedObject<Form>(hwnd) : nullptr;
}

bool Form::Load(HWND owner) {
    if (Loaded())
        return true;
    const DesignLoad load = LoadDesignResource(designName_);
    if (!load.design) {
        loadError_ = load.error;
        return false;
    }
    return Load(*load.design, owner);
}

bool Form::Load(const DesignNode& design, HWND owner) {
    if (Loaded())
        return true;
    loadError_.clear();
    if (!SameName(design.kind, "Form")) {
        loadError_ = "design " + design.name + ": not a window's design";
        return false;
    }
    const TraceStep trace("load", design.name);
    Form_Initialize();
    children_.Clear();
    keyboard_.Reset();
    shown_ = false;
    design_ = design;
    if (!CreateWindowFromDesign(owner)) {
        loadError_ = "design " + Name() + ": the window could not be created";
        return false;
    }
    {
        const TraceStep children("create children");
        children_.Create(design_, hwnd_);
        keyboard_.ApplyTabOrder(children_.Controls());
        Dock();
    }
    if (!Loaded())
        return false; // a component's start took the window down
    if (std::string unbound = events_.Resolve([this](std::string_view name) {
            return static_cast<const Control*>(FindControl(name));
        });
        !unbound.empty()) {
        loadError_ = "design " + Name() + ": " + unbound;
        DestroyWindow(hwnd_); // Form_Load never ran: nothing for Form_Unload to undo
        return false;
    }
    try {
        const TraceStep load("Form_Load");
        Form_Load();
    } catch (const MissingControl& missing) {
        loadError_ = missing.what();
        Unload();
        return false;
    }
    return Loaded();
}

bool Form::CreateWindowFromDesign(HWND owner) {
    const PropertyBag& layout = design_.properties;
    window_.Read(layout, Name());
    layout_.Read(layout);
    pointer_.Read(layout);
    window_.ScaleFont(layout_.Dpi());
    // The window's own DPI is known once it exists; until then, the one new windows start at.
    {
        const TraceStep trace("window");
        if (!window_.Create(&Form::WindowProc, this, owner, layout_))
            return false;
    }
    if (const int dpi = WindowDpi(hwnd_); dpi != layout_.Dpi())
        Rescale(dpi, nullptr); // opened on a screen of another scale
    const TraceStep trace("window icons");
    window_.ShowIcons(hwnd_, layout_.Dpi());
    return true;
}

void Form::Show() {
    if (!Loaded())
        return;
    const TraceStep trace("show", Name());
    if (!shown_) {
        const TraceStep place("place");
        if (!PlaceKept())
            layout_.PlaceAtFirstShow(hwnd_, FormWindow::VisibleOwner(hwnd_));
        layout_.FitWorkArea(hwnd_);
        shown_ = true;
    }
    {
        const TraceStep visible("visible");
        ShowWindow(hwnd_, SW_SHOW);
    }
    const TraceStep paint("paint");
    UpdateWindow(hwnd_);
}

void Form::ShowModal(HWND owner) {
    if (!Loaded())
        return;
    if (owner && GetWindow(hwnd_, GW_OWNER) != owner)
        SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (owner && IsWindowEnabled(owner)) {
        modalOwner_ = owner;
        EnableWindow(owner, FALSE);
    }
    Show();
    RunMessageLoop();
    if (Loaded())
        Unload(); // the loop ended on WM_QUIT
    if (modalOwner_) {
        EnableWindow(modalOwner_, TRUE);
        modalOwner_ = nullptr;
    }
}

int Form::RunMessageLoop() {
    MSG msg;
    while (Loaded()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            if (modalOwner_)
                PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop below this one
            return static_cast<int>(msg.wParam);
        }
        if (got == -1)
            return -1;
        if (!keyboard_.HandleDialogKey(hwnd_, msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}

void Form::Unload() {
    if (!Loaded() || unloading_)
        return;
    unloading_ = true;
    Form_Unload();
    // Give activation back to the owner before this window goes, or another program gets it.
    if (modalOwner_)
        EnableWindow(modalOwner_, TRUE);
    if (hwnd_)
        DestroyWindow(hwnd_);
    unloading_ = false;
}

DesignNode Form::SaveDesign() const {
    DesignNode design = design_;
    children_.SaveComponents(design);
    return design;
}

void Form::Rescale(int dpi, const RECT* suggested) {
    if (!hwnd_ || dpi <= 0)
        return;
    const SIZE twips = layout_.KeptTwips(hwnd_);
    layout_.SetDpi(dpi);
    const GdiFont previous = window_.ScaleFont(dpi); // held until no control uses it
    children_.Rescale();
    window_.ShowIcons(hwnd_, dpi);
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    layout_.FitClient(hwnd_, twips);
    layout_.FitWorkArea(hwnd_);
    Dock();
    if (!children_.Controls().empty() || !children_.Components().empty())
        OnDpiChanged();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

int Form::ClientWidth() const {
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r.right;
}

int Form::ClientHeight() const {
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r.bottom;
}

int Form::TextWidth(const std::string& text) const {
    const ClientDC dc(hwnd_);
    if (!dc)
        return 0;
    const SelectedObject font(dc.Get(), FontHandle());
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return PixelsToTwips(size.cx, TwipsPerPixelX());
}

void Form::RaiseKeyDown(Control& control, int& keyCode) {
    events_.Raise(control, Event::KeyDown, keyCode);
}

void Form::OptionSelected(OptionButton& option) {
    keyboard_.OptionSelected(children_.Controls(), option);
}

void Form::ComponentPropertyChanged(const std::string& component, const std::string& key) {
    children_.NoteChange(component, key);
    OnComponentChanged(component, key);
}

void Form::OnPaint() {
    const PaintDC paint(hwnd_);
    children_.PaintLines(hwnd_, paint.Get());
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* self = LinkedObject<Form>(hwnd, msg, lParam);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) {
        self->hwnd_ = hwnd;
        self->destroying_ = false;
    }
    return Barrier([&] { return self->HandleMessage(msg, wParam, lParam); });
}

void Form::SetDefaultButton(Control* button) {
    const HWND next = button ? button->Hwnd() : nullptr;
    if (next == defaultButton_)
        return;
    if (defaultButton_ && IsWindow(defaultButton_))
        SendMessageA(defaultButton_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    defaultButton_ = next;
    if (next)
        SendMessageA(next, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    if (msg >= WM_APP && msg <= 0xBFFF) {
        OnMessage(msg, wParam, lParam);
        return 0;
    }
    switch (msg) {
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        OnMessage(msg, wParam, lParam);
        break;
    case WM_COMMAND: {
        Control* control = children_.ControlByHwnd(reinterpret_cast<HWND>(lParam));
        if (!control)
            return 0;
        if (control->Kind() == ControlKind::OptionButton && HIWORD(wParam) == BN_CLICKED)
            OptionSelected(static_cast<OptionButton&>(*control));
        if (const auto event = control->EventOf(HIWORD(wParam))) {
            int noKey = 0;
            events_.Raise(*control, *event, noKey);
        }
        return 0;
    }
    case DM_GETDEFID: // asked by the keyboard's dialog handling on Enter
        if (defaultButton_ && IsWindowEnabled(defaultButton_))
            return MAKELRESULT(GetDlgCtrlID(defaultButton_), DC_HASDEFID);
        return 0;
    case WM_CTLCOLORSTATIC:
        if (const auto brush = children_.LabelColours(reinterpret_cast<HWND>(lParam),
                                                      reinterpret_cast<HDC>(wParam)))
            return *brush;
        break;
    case WM_DRAWITEM:
        if (children_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_SETCURSOR: {
        const auto* label =
            dynamic_cast<const Label*>(children_.ControlByHwnd(reinterpret_cast<HWND>(wParam)));
        if (pointer_.SetCursorOver(label, lParam))
            return TRUE;
        break;
    }
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        Dock();
        return 0;
    case WM_GETMINMAXINFO:
        if (window_.GetBorderStyle() == BorderStyle::Sizable && Loaded())
            layout_.LimitTracking(hwnd, *reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case kGetDpiScaledSize:
        *reinterpret_cast<SIZE*>(lParam) = layout_.WindowSizeAt(hwnd, LOWORD(wParam));
        return TRUE;
    case WM_DPICHANGED:
        Rescale(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        keyboard_.Activated(hwnd, wParam);
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        destroying_ = true;
        children_.Terminate();
        break;
    case WM_NCDESTROY:
        children_.Detach();
        hwnd_ = nullptr;
        destroying_ = false;
        if (modalOwner_)
            EnableWindow(modalOwner_, TRUE);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace cw
