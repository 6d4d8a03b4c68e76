#include "forms/Form.h"

#include "forms/CommandButton.h"
#include "forms/Component.h"
#include "forms/ComponentFactory.h"
#include "forms/DesignStore.h"
#include "forms/Frame.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Line.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "win32/Barrier.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/OwnWindow.h"
#include "win32/Trace.h"
#include "win32/Twips.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <exception>

namespace cw {
namespace {

constexpr const char* kFormClass = "ClutterwiseForm";
constexpr int kFirstControlId = 1000; // clear of IDOK and IDCANCEL, which the dialog manager sends
constexpr UINT kGetDpiScaledSize = 0x02E4; // WM_GETDPISCALEDSIZE, which older headers lack

} // namespace

void Form::RegisterWindowClass() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        RegisterOwnClass(kFormClass, &Form::WindowProc, CS_DBLCLKS, ButtonFace());
        return true;
    }();
    (void)registered;
}

namespace {

// Owner of forms that stay out of the task bar but have no owner of their own.
HWND ParkingWindow() {
    static HWND parking = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 0, 0, 0, 0,
                                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return parking;
}

HCURSOR PointerCursor(int pointer, const Picture& icon) {
    const char* id = nullptr;
    switch (pointer) {
    case 2:
        id = IDC_CROSS;
        break;
    case 3:
        id = IDC_IBEAM;
        break;
    case 5:
    case 15:
        id = IDC_SIZEALL;
        break;
    case 6:
        id = IDC_SIZENESW;
        break;
    case 7:
        id = IDC_SIZENS;
        break;
    case 8:
        id = IDC_SIZENWSE;
        break;
    case 9:
        id = IDC_SIZEWE;
        break;
    case 10:
        id = IDC_UPARROW;
        break;
    case 11:
        id = IDC_WAIT;
        break;
    case 12:
        id = IDC_NO;
        break;
    case 13:
        id = IDC_APPSTARTING;
        break;
    case 14:
        id = IDC_HELP;
        break;
    case kPointerCustom:
        if (icon.Handle())
            return reinterpret_cast<HCURSOR>(icon.Handle());
        id = IDC_ARROW;
        break;
    default:
        id = IDC_ARROW;
    }
    return LoadCursorA(nullptr, id);
}

int ClampPixels(int pixels, int low) {
    return std::clamp(pixels, low, 32767);
}

std::unique_ptr<Control> MakeControl(ControlKind kind, const std::string& name) {
    switch (kind) {
    case ControlKind::CommandButton:
        return std::make_unique<CommandButton>(name);
    case ControlKind::OptionButton:
        return std::make_unique<OptionButton>(name);
    case ControlKind::Frame:
        return std::make_unique<Frame>(name);
    case ControlKind::Label:
        return std::make_unique<Label>(name);
    case ControlKind::ListBox:
        return std::make_unique<ListBox>(name);
    case ControlKind::Image:
        return std::make_unique<Image>(name);
    case ControlKind::Line:
        return std::make_unique<Line>(name);
    }
    return nullptr;
}

void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on) {
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | bit) : (style & ~bit);
    if (wanted != style)
        SetWindowLongPtrA(hwnd, GWL_STYLE, wanted);
}

} // namespace

bool Form::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

Form::Form(std::string designName) : designName_(std::move(designName)) {}

Form::~Form() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

Form* Form::FromHwnd(HWND hwnd) {
    char cls[32] = "";
    if (!hwnd || !GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, kFormClass) != 0)
        return nullptr;
    return LinkedObject<Form>(hwnd);
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

void Form::Reset() {
    components_.clear();
    controls_.clear();
    infos_.clear();
    changed_.clear();
    lastFocus_ = nullptr;
    shown_ = false;
}

bool Form::Load(const DesignNode& design, HWND owner) {
    if (Loaded())
        return true;
    loadError_.clear();
    if (lstrcmpiA(design.kind.c_str(), "Form") != 0) {
        loadError_ = "design " + design.name + ": not a window's design";
        return false;
    }
    const TraceStep trace("load", design.name);
    Reset();
    design_ = design;
    name_ = design.name;
    if (!CreateWindowFromDesign(owner)) {
        loadError_ = "design " + name_ + ": the window could not be created";
        return false;
    }
    {
        const TraceStep children("create children");
        CreateChildren(design_, nullptr, hwnd_, 0);
        ApplyTabOrder();
        Dock();
    }
    if (!Loaded())
        return false; // a component's start took the window down
    try {
        const TraceStep load("Form_Load");
        Form_Load();
        if (Loaded())
            if (const auto it = handlers_.find("Form_Load"); it != handlers_.end() && it->second)
                Handler(it->second)();
    } catch (const MissingControl& missing) {
        loadError_ = missing.what();
        Unload();
        return false;
    }
    return Loaded();
}

bool Form::CreateWindowFromDesign(HWND owner) {
    RegisterWindowClass();
    const PropertyBag& p = design_.properties;
    caption_ = p.ReadString("caption", name_).value_or(name_);
    const int border = p.ReadInt32("borderstyle", 2).value_or(2);
    borderStyle_ =
        border >= 0 && border <= 5 ? static_cast<BorderStyle>(border) : BorderStyle::Sizable;
    const bool dialogLike = borderStyle_ == BorderStyle::FixedDialog ||
                            borderStyle_ == BorderStyle::FixedToolWindow ||
                            borderStyle_ == BorderStyle::SizableToolWindow;
    controlBox_ = p.ReadBool("controlbox", true).value_or(true);
    minButton_ = p.ReadBool("minbutton", !dialogLike).value_or(!dialogLike);
    maxButton_ = p.ReadBool("maxbutton", !dialogLike).value_or(!dialogLike);
    showInTaskbar_ = p.ReadBool("showintaskbar", !dialogLike).value_or(!dialogLike);
    startUpPosition_ = p.ReadInt32("startupposition", 3).value_or(3);
    left_ = p.ReadInt32("left", 0).value_or(0);
    top_ = p.ReadInt32("top", 0).value_or(0);
    clientWidth_ = p.ReadInt32("clientwidth", 4800).value_or(4800);
    clientHeight_ = p.ReadInt32("clientheight", 3600).value_or(3600);
    font_ = p.ReadFont("font", Font{}).value_or(Font{});
    icon_ = p.ReadPicture("icon", Picture()).value_or(Picture());
    mousePointer_ = p.ReadInt32("mousepointer", kPointerDefault).value_or(kPointerDefault);
    mouseIcon_ = p.ReadPicture("mouseicon", Picture()).value_or(Picture());
    // The window's own DPI is known once it exists; until then, the one new windows start at.
    dpi_ = SystemDpi();
    twipsPerPixelX_ = twipsPerPixelY_ = TwipsPerPixelAt(dpi_);
    gdiFont_ = GdiFont(font_, dpi_);

    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    switch (borderStyle_) {
    case BorderStyle::None:
        style |= WS_POPUP;
        break;
    case BorderStyle::FixedSingle:
        style |= WS_CAPTION;
        break;
    case BorderStyle::Sizable:
        style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case BorderStyle::FixedDialog:
        style |= WS_CAPTION | DS_MODALFRAME;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case BorderStyle::FixedToolWindow:
        style |= WS_CAPTION;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    case BorderStyle::SizableToolWindow:
        style |= WS_CAPTION | WS_THICKFRAME;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != BorderStyle::None && controlBox_) {
        style |= WS_SYSMENU;
        if (minButton_ && !dialogLike)
            style |= WS_MINIMIZEBOX;
        if (maxButton_ && !dialogLike)
            style |= WS_MAXIMIZEBOX;
    }
    if (showInTaskbar_)
        exStyle |= WS_EX_APPWINDOW;
    else if (!owner)
        owner = ParkingWindow();

    RECT r{0, 0, ClampPixels(TwipsToPixels(clientWidth_, twipsPerPixelX_), 0),
           ClampPixels(TwipsToPixels(clientHeight_, twipsPerPixelY_), 0)};
    AdjustWindowRectForDpi(r, style, exStyle, dpi_);
    const int x = startUpPosition_ == 3 ? CW_USEDEFAULT : 0;
    hwnd_ = CreateWindowExA(exStyle, kFormClass, caption_.c_str(), style, x,
                            x == CW_USEDEFAULT ? 0 : x, r.right - r.left, r.bottom - r.top, owner,
                            nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd_)
        return false;
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_)
        Rescale(dpi, nullptr); // opened on a screen of another scale
    ShowIcons();
    return true;
}

void Form::CreateChildren(const DesignNode& parent, Control* container, HWND parentHwnd,
                          int depth) {
    for (const DesignNode& entry : parent.children) {
        if (!Loaded())
            return;
        const auto kind = StandardControlKind(entry.kind);
        if (!kind) {
            CreateComponent(entry);
            continue;
        }
        std::unique_ptr<Control> control = MakeControl(*kind, entry.name);
        const int id = kFirstControlId + static_cast<int>(controls_.size());
        control->Create(*this, container, parentHwnd, id, entry.properties);
        Control& created = *control;
        infos_.push_back({entry.name, ControlKindName(*kind)});
        controls_.push_back(std::move(control));
        // Only frames hold controls; entries below other controls stay in the design unused.
        if (*kind == ControlKind::Frame && depth < 64)
            CreateChildren(entry, &created, created.Hwnd() ? created.Hwnd() : parentHwnd,
                           depth + 1);
    }
}

void Form::CreateComponent(const DesignNode& entry) {
    if (!ComponentFactory::Knows(entry.kind))
        return; // kept in the design as it is
    infos_.push_back({entry.name, entry.kind});
    ComponentEntry& added = components_.emplace_back();
    added.site = std::make_unique<ComponentSite>(*this, entry);
    try {
        added.component = ComponentFactory::Create(entry.kind, *added.site);
        if (!added.component)
            return;
        added.site->Attach(added.component->Hwnd());
        Dock();
        added.component->Start(entry.hasBag ? &entry.bag : nullptr);
    } catch (const std::exception&) {
        // A component that cannot start leaves its place empty; the window still opens.
    }
}

// The window system's tab order is the order of siblings: sort each container's controls by
// their tab index. Option buttons that follow each other form one group with one tab stop.
void Form::ApplyTabOrder() {
    std::vector<Control*> containers{nullptr};
    for (const auto& c : controls_)
        if (c->Kind() == ControlKind::Frame)
            containers.push_back(c.get());
    for (Control* container : containers) {
        std::vector<Control*> siblings;
        for (const auto& c : controls_)
            if (c->Container() == container && c->Hwnd())
                siblings.push_back(c.get());
        std::stable_sort(siblings.begin(), siblings.end(), [](const Control* a, const Control* b) {
            const auto key = [](const Control* c) {
                return c->TabIndex() < 0 ? INT_MAX : c->TabIndex();
            };
            return key(a) < key(b);
        });
        HWND after = HWND_TOP;
        for (size_t i = 0; i < siblings.size(); ++i) {
            Control* c = siblings[i];
            SetWindowPos(c->Hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->Hwnd();
            const bool option = c->Kind() == ControlKind::OptionButton;
            const bool follows =
                option && i > 0 && siblings[i - 1]->Kind() == ControlKind::OptionButton;
            SetStyleBit(c->Hwnd(), WS_GROUP, !follows);
            const bool stop =
                c->Kind() == ControlKind::CommandButton || c->Kind() == ControlKind::ListBox;
            SetStyleBit(c->Hwnd(), WS_TABSTOP, stop);
        }
        for (Control* c : siblings)
            if (c->Kind() == ControlKind::OptionButton)
                OptionSelected(static_cast<OptionButton&>(*c)); // sets its group's tab stop
    }
}

// One option of a container is selected; the group's tab stop is that option (the first one when
// none is selected).
void Form::OptionSelected(OptionButton& option) {
    std::vector<OptionButton*> group;
    for (const auto& c : controls_)
        if (c->Kind() == ControlKind::OptionButton && c->Container() == option.Container() &&
            c->Hwnd())
            group.push_back(static_cast<OptionButton*>(c.get()));
    if (option.Value())
        for (OptionButton* other : group)
            if (other != &option && other->Value())
                SendMessageA(other->Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    const auto selected =
        std::find_if(group.begin(), group.end(), [](OptionButton* o) { return o->Value(); });
    for (OptionButton* o : group)
        SetStyleBit(o->Hwnd(), WS_TABSTOP,
                    selected == group.end() ? o == group.front() : o == *selected);
}

void Form::Show() {
    if (!Loaded())
        return;
    const TraceStep trace("show", name_);
    if (!shown_) {
        PlaceAtFirstShow();
        shown_ = true;
    }
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void Form::PlaceAtFirstShow() {
    RECT window{};
    GetWindowRect(hwnd_, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner == ParkingWindow() || (owner && !IsWindowVisible(owner)))
        owner = nullptr;
    if (startUpPosition_ == 0) {
        SetWindowPos(hwnd_, nullptr, TwipsToPixels(left_, twipsPerPixelX_),
                     TwipsToPixels(top_, twipsPerPixelY_), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (startUpPosition_ != 1 && startUpPosition_ != 2)
        return;
    RECT area{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (startUpPosition_ == 1 && owner) {
        GetWindowRect(owner, &area);
    } else if (GetMonitorInfoA(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTOPRIMARY),
                               &monitor)) {
        area = monitor.rcWork;
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Over an owner near the screen's edge, stay on the screen.
    if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        x = std::max<int>(monitor.rcWork.left, std::min<int>(x, monitor.rcWork.right - width));
        y = std::max<int>(monitor.rcWork.top, std::min<int>(y, monitor.rcWork.bottom - height));
    }
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
        if (!IsDialogMessageA(hwnd_, &msg)) {
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
    if (Loaded())
        if (const auto it = handlers_.find("Form_Unload"); it != handlers_.end() && it->second)
            Handler(it->second)();
    // Give activation back to the owner before this window goes, or another program gets it.
    if (modalOwner_)
        EnableWindow(modalOwner_, TRUE);
    if (hwnd_)
        DestroyWindow(hwnd_);
    unloading_ = false;
}

void Form::OnDestroy() {
    destroying_ = true;
    for (ComponentEntry& entry : components_) {
        try {
            if (entry.component)
                entry.component->Terminate();
        } catch (const std::exception&) {
            // Terminate releases what it can; the window goes regardless.
        }
    }
}

DesignNode Form::SaveDesign() const {
    DesignNode design = design_;
    SaveComponents(design);
    return design;
}

void Form::SaveComponents(DesignNode& node) const {
    for (DesignNode& child : node.children) {
        for (const ComponentEntry& entry : components_) {
            if (!entry.component || lstrcmpiA(entry.site->Name().c_str(), child.name.c_str()) != 0)
                continue;
            PropertyBag bag;
            entry.component->WriteProperties(bag);
            entry.site->WriteExtender(child.properties);
            bag.SetText("_extentx", std::to_string(TwipsToHimetric(entry.site->Width())));
            bag.SetText("_extenty", std::to_string(TwipsToHimetric(entry.site->Height())));
            child.bag = std::move(bag);
            child.hasBag = true;
        }
        SaveComponents(child);
    }
}

void Form::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (hwnd_)
        SetWindowTextA(hwnd_, caption.c_str());
}

void Form::SetIcon(const Picture& icon) {
    icon_ = icon;
    ShowIcons();
}

// The title bar's and the task bar's icons, at the sizes the window's DPI asks for.
void Form::ShowIcons() {
    const auto at = [this](int metric) {
        return icon_ ? icon_.AtSize(SystemMetricForDpi(metric, dpi_)) : Picture();
    };
    const Picture big = at(SM_CXICON), small = at(SM_CXSMICON);
    if (hwnd_) {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Handle()));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Handle()));
    }
    bigIcon_ = big; // the window stops using the old icons before they are released
    smallIcon_ = small;
}

// The client area's size in twips. Twips that still give its pixels are kept as designed, so that
// repeated changes of scale never drift.
SIZE Form::ClientTwips() const {
    const auto twips = [](int pixels, int designed, double perPixel) {
        return TwipsToPixels(designed, perPixel) == pixels ? designed
                                                           : PixelsToTwips(pixels, perPixel);
    };
    return {twips(ClientWidth(), clientWidth_, twipsPerPixelX_),
            twips(ClientHeight(), clientHeight_, twipsPerPixelY_)};
}

// The window's outer size that gives its client area the same twips at `dpi`.
SIZE Form::WindowSizeAt(int dpi) const {
    const SIZE twips = ClientTwips();
    const double perPixel = TwipsPerPixelAt(dpi);
    RECT r{0, 0, ClampPixels(TwipsToPixels(twips.cx, perPixel), 0),
           ClampPixels(TwipsToPixels(twips.cy, perPixel), 0)};
    AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)), dpi);
    return {r.right - r.left, r.bottom - r.top};
}

void Form::Rescale(int dpi, const RECT* suggested) {
    if (!hwnd_ || dpi <= 0)
        return;
    const SIZE twips = ClientTwips();
    dpi_ = dpi;
    twipsPerPixelX_ = twipsPerPixelY_ = TwipsPerPixelAt(dpi);
    const GdiFont previous = std::move(gdiFont_); // held until no control uses it
    gdiFont_ = GdiFont(font_, dpi_);
    for (const auto& c : controls_)
        c->Rescale();
    ShowIcons();
    for (ComponentEntry& entry : components_)
        if (entry.component)
            entry.component->DpiChanged();
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame is drawn at the system's measures where the system scales only the client area:
    // fit the client to its twips, keeping the suggested place.
    if (!IsIconic(hwnd_) && !IsZoomed(hwnd_)) {
        RECT window{}, client{};
        GetWindowRect(hwnd_, &window);
        GetClientRect(hwnd_, &client);
        const int dx = ClampPixels(TwipsToPixels(twips.cx, twipsPerPixelX_), 0) - client.right;
        const int dy = ClampPixels(TwipsToPixels(twips.cy, twipsPerPixelY_), 0) - client.bottom;
        if (dx != 0 || dy != 0)
            SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dx,
                         window.bottom - window.top + dy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Dock();
    if (!controls_.empty() || !components_.empty())
        OnDpiChanged();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    RefreshCursor();
}

// The pointer changes at once even while a handler keeps the message loop waiting.
void Form::RefreshCursor() {
    POINT pt{};
    if (!hwnd_ || !GetCursorPos(&pt))
        return;
    HWND over = WindowFromPoint(pt);
    if (!over || (over != hwnd_ && !IsChild(hwnd_, over)))
        return;
    if (mousePointer_ != kPointerDefault) {
        SetCursor(PointerCursor(mousePointer_, mouseIcon_));
        return;
    }
    const LRESULT hit = SendMessageA(over, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(hit, WM_MOUSEMOVE));
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
    return PixelsToTwips(size.cx, twipsPerPixelX_);
}

Control* Form::FindControl(std::string_view name) const {
    for (const auto& c : controls_)
        if (c->Name().size() == name.size() &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, c->Name().data(),
                           static_cast<int>(name.size()), name.data(),
                           static_cast<int>(name.size())) == CSTR_EQUAL)
            return c.get();
    return nullptr;
}

Component* Form::FindComponent(std::string_view name) const {
    for (const ComponentEntry& entry : components_)
        if (entry.component &&
            lstrcmpiA(entry.site->Name().c_str(), std::string(name).c_str()) == 0)
            return entry.component.get();
    return nullptr;
}

Control* Form::ControlByHwnd(HWND hwnd) const {
    if (!hwnd)
        return nullptr;
    for (const auto& c : controls_)
        if (c->Hwnd() == hwnd)
            return c.get();
    return nullptr;
}

void Form::On(const std::string& handlerName, Handler handler) {
    handlers_[handlerName] = std::move(handler);
}

void Form::OnKeyDown(const std::string& handlerName, KeyHandler handler) {
    keyHandlers_[handlerName] = std::move(handler);
}

void Form::Raise(const Control& control, const char* event) {
    const auto it = handlers_.find(control.Name() + "_" + event);
    if (it == handlers_.end() || !it->second)
        return;
    const Handler handler = it->second; // the handler may rebind itself
    const TraceStep trace("event", it->first);
    handler();
}

void Form::RaiseKeyDown(Control& control, int& keyCode) {
    const auto it = keyHandlers_.find(control.Name() + "_KeyDown");
    if (it == keyHandlers_.end() || !it->second)
        return;
    const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                      (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    const KeyHandler handler = it->second;
    handler(keyCode, shift);
}

void Form::ComponentPropertyChanged(const std::string& component, const std::string& key) {
    changed_.push_back(component + "." + key);
    OnComponentChanged(component, key);
}

void Form::Dock() {
    if (docking_ > 0) {
        dockAgain_ = true; // a component resized itself while being placed
        return;
    }
    ++docking_;
    for (int round = 0; round < 4; ++round) {
        dockAgain_ = false;
        DockOnce();
        if (!dockAgain_)
            break;
    }
    --docking_;
}

// Docked components span the client width along their edge, stacked in creation order.
void Form::DockOnce() {
    if (!hwnd_)
        return;
    const int width = ClientWidth();
    int top = 0, bottom = ClientHeight();
    for (ComponentEntry& entry : components_) {
        ComponentSite& site = *entry.site;
        HWND window = site.Window();
        if (!window)
            continue;
        const int h = ClampPixels(TwipsToPixels(site.Height(), twipsPerPixelY_), 0);
        int x = 0, y = 0, w = width;
        switch (site.GetAlign()) {
        case Align::Top:
            y = top;
            top += h;
            break;
        case Align::Bottom:
            bottom -= h;
            y = bottom;
            break;
        default:
            x = ClampPixels(TwipsToPixels(site.Left(), twipsPerPixelX_), -32768);
            y = ClampPixels(TwipsToPixels(site.Top(), twipsPerPixelY_), -32768);
            w = ClampPixels(TwipsToPixels(site.Width(), twipsPerPixelX_), 0);
        }
        // Twips that still give the docked width are kept: a design saved at another scale stays
        // as it was.
        const int widthTwips =
            site.GetAlign() == Align::None || TwipsToPixels(site.Width(), twipsPerPixelX_) == w
                ? site.Width()
                : PixelsToTwips(w, twipsPerPixelX_);
        site.SetPlace(PixelsToTwips(x, twipsPerPixelX_), PixelsToTwips(y, twipsPerPixelY_),
                      widthTwips, site.Height());
        MoveWindow(window, x, y, w, h, TRUE);
    }
}

void Form::OnPaint() {
    const PaintDC paint(hwnd_);
    const HDC dc = paint.Get();
    for (const auto& c : controls_) {
        if (c->Kind() != ControlKind::Line)
            continue;
        POINT origin{0, 0};
        if (const Control* frame = c->Container(); frame && frame->Hwnd())
            MapWindowPoints(frame->Hwnd(), hwnd_, &origin, 1);
        static_cast<const Line&>(*c).Draw(dc, origin.x, origin.y);
    }
}

LRESULT Form::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (mousePointer_ != kPointerDefault) {
        SetCursor(PointerCursor(mousePointer_, mouseIcon_));
        return TRUE;
    }
    if (LOWORD(lParam) == HTCLIENT)
        if (const auto* label =
                dynamic_cast<const Label*>(ControlByHwnd(reinterpret_cast<HWND>(wParam)));
            label && label->MousePointer() != kPointerDefault) {
            SetCursor(PointerCursor(label->MousePointer(), label->MouseIcon()));
            return TRUE;
        }
    return DefWindowProcA(hwnd_, WM_SETCURSOR, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Barrier([&] { return HandleMessage(hwnd, msg, wParam, lParam); });
}

LRESULT Form::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* self = LinkedObject<Form>(hwnd, msg, lParam);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) {
        self->hwnd_ = hwnd;
        self->destroying_ = false;
    }
    switch (msg) {
    case WM_COMMAND: {
        Control* control = self->ControlByHwnd(reinterpret_cast<HWND>(lParam));
        if (!control)
            return 0;
        if (control->Kind() == ControlKind::OptionButton && HIWORD(wParam) == BN_CLICKED)
            self->OptionSelected(static_cast<OptionButton&>(*control));
        if (const char* event = control->EventOf(HIWORD(wParam)))
            self->Raise(*control, event);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        if (const auto* label =
                dynamic_cast<const Label*>(self->ControlByHwnd(reinterpret_cast<HWND>(lParam)))) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, ResolveColour(label->ForeColor()));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (const auto* image = dynamic_cast<const Image*>(self->ControlByHwnd(item.hwndItem))) {
            image->Draw(item);
            return TRUE;
        }
        break;
    }
    case WM_SETCURSOR:
        return self->OnSetCursor(wParam, lParam);
    case WM_PAINT:
        self->OnPaint();
        return 0;
    case WM_SIZE:
        self->Dock();
        return 0;
    case kGetDpiScaledSize:
        *reinterpret_cast<SIZE*>(lParam) = self->WindowSizeAt(LOWORD(wParam));
        return TRUE;
    case WM_DPICHANGED:
        self->Rescale(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus))
                self->lastFocus_ = focus;
        } else if (!HIWORD(wParam)) {
            HWND focus = self->lastFocus_ && IsWindow(self->lastFocus_)
                             ? self->lastFocus_
                             : GetNextDlgTabItem(hwnd, nullptr, FALSE);
            SetFocus(focus ? focus : hwnd);
        }
        return 0;
    case WM_CLOSE:
        self->Unload();
        return 0;
    case WM_DESTROY:
        self->OnDestroy();
        break;
    case WM_NCDESTROY:
        for (const auto& c : self->controls_)
            c->Detach();
        self->hwnd_ = nullptr;
        self->destroying_ = false;
        if (self->modalOwner_)
            EnableWindow(self->modalOwner_, TRUE);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace cw
