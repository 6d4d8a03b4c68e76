#include "controls/statusbar/StatusBar.h"

#include "controls/statusbar/StatusBarLayout.h"
#include "win32/Dpi.h"

#include <algorithm>
#include <utility>
#include <commctrl.h>

namespace cw {
namespace {

constexpr const char* kWindowProcProperty = "StatusBarWindowProc";
constexpr const char* kControlProperty = "StatusBar";
// Part indexes the native bar can address in SB_SETTEXT: the low byte, 255 being the simple text.
constexpr std::int16_t kAddressableParts = SB_SIMPLEID;

HFONT MakeFont(int height, const Font& font) {
    return CreateFontA(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                       font.underline, font.strikethrough, ANSI_CHARSET, 0, 0, 0, 0,
                       font.name.c_str());
}

// The tool of one part, over its rectangle; the text must outlive the message only, as the tip
// window copies it.
TOOLINFOA ToolRecord(HWND status, std::int16_t index, const std::string& text) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool; // the documented size for common controls 6
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = status;
    tool.uId = static_cast<UINT_PTR>(index);
    SendMessageA(status, SB_GETRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&tool.rect));
    tool.lpszText = const_cast<char*>(text.c_str());
    return tool;
}

} // namespace

// Holds back the layout that each panel set asks for until a bulk change is done, as
// PreventUpdate does; a caller's own PreventUpdate is back afterwards.
class StatusBar::HoldUpdates {
public:
    explicit HoldUpdates(StatusBar& bar)
        : bar_(bar), previous_(std::exchange(bar.preventUpdate_, true)) {}
    ~HoldUpdates() { bar_.preventUpdate_ = previous_; }
    HoldUpdates(const HoldUpdates&) = delete;
    HoldUpdates& operator=(const HoldUpdates&) = delete;

private:
    StatusBar& bar_;
    bool previous_;
};

// The host's font until properties arrive, so that a saved font that cannot be read leaves that.
StatusBar::StatusBar(ComponentHost& host) : Component(host), font_(host.AmbientFont()) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    status_ = MakeStatusWindow(false);
    if (status_) {
        // Replaced by the real font at the first UpdateControl.
        const cw::Font starting{"MS Sans Serif", 8.0};
        fontHandle_.Reset(MakeFont(MulDiv(8, host.Dpi(), 72), starting));
    }
    tip_ = MakeTipWindow();
}

StatusBar::~StatusBar() {
    // The component's window outlives this object a little: no hook may find it meanwhile.
    hook_.Destroy();
}

OwnedWindow StatusBar::MakeStatusWindow(bool sizeGrip) const {
    const DWORD style = WS_CHILD | WS_VISIBLE | (sizeGrip ? SBARS_SIZEGRIP : 0);
    return OwnedWindow(CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, 0, ClientWidth(),
                                       ClientHeight(), Hwnd(), nullptr, GetModuleHandleA(nullptr),
                                       nullptr));
}

OwnedWindow StatusBar::MakeTipWindow() {
    return OwnedWindow(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "",
                                       TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr));
}

// ---- Properties and persistence ----

void StatusBar::InitProperties() {
    count_ = 0;
    enabled_ = true;
    font_ = Host().AmbientFont();
    showTips_ = true;
    simpleText_.clear();
    style_ = 0;
    panels_.clear();
    Host().SetAlign(Align::Bottom);
    UpdateControl(true);
}

void StatusBar::ReadProperties(const PropertyBag& bag) {
    // A value that does not convert, or that its setter would refuse, leaves the field as it was.
    if (const auto v = bag.ReadInt16("Count", 0); v && *v >= 0)
        count_ = *v;
    if (const auto v = bag.ReadBool("Enabled", true))
        enabled_ = *v;
    if (const auto v = bag.ReadFont("Font", Host().AmbientFont()))
        font_ = *v;
    if (const auto v = bag.ReadBool("ShowTips", true))
        showTips_ = *v;
    if (const auto v = bag.ReadString("SimpleText", ""))
        simpleText_ = *v;
    if (const auto v = bag.ReadInt32("Style", 0); v && (*v == 0 || *v == 1))
        style_ = *v;

    panels_.clear();
    {
        const HoldUpdates hold(*this);
        for (std::int16_t i = 0; i < count_; ++i)
            AddPanel(bag);
    }
    UpdateControl(true);
}

// Appends a panel with the bag's values for its index, set through the setters so that a designer
// records them. A key the bag lacks gives the value a new panel has; one that does not convert,
// or that its setter refuses, leaves that value too.
cw::Panel& StatusBar::AddPanel(const PropertyBag& bag) {
    const auto i = static_cast<std::int16_t>(panels_.size());
    const cw::Panel initial;
    cw::Panel& panel = *panels_.emplace_back(std::make_unique<cw::Panel>());
    panel.SetParent(this);
    panel.SetIndex(i);
    if (const auto v = bag.ReadInt32(PanelKey(kPanelAlignmentKey, i), initial.Alignment()))
        panel.SetAlignment(*v);
    if (const auto v = bag.ReadInt32(PanelKey(kPanelAutoSizeKey, i), initial.AutoSize()))
        panel.SetAutoSize(*v);
    if (const auto v = bag.ReadInt32(PanelKey(kPanelBevelKey, i), initial.Bevel()))
        panel.SetBevel(*v);
    if (const auto v = bag.ReadInt16(PanelKey(kPanelMinWidthKey, i), initial.MinWidth()))
        panel.SetMinWidth(*v);
    if (auto v = bag.ReadString(PanelKey(kPanelTagKey, i), initial.Tag()))
        panel.SetTag(std::move(*v));
    if (auto v = bag.ReadString(PanelKey(kPanelTextKey, i), initial.Text()))
        panel.SetText(std::move(*v));
    if (auto v = bag.ReadString(PanelKey(kPanelToolTipTextKey, i), initial.ToolTipText()))
        panel.SetToolTipText(std::move(*v));
    if (const auto v = bag.ReadBool(PanelKey(kPanelVisibleKey, i), initial.Visible()))
        panel.SetVisible(*v);
    return panel;
}

void StatusBar::WriteProperties(PropertyBag& bag) const {
    bag.WriteInt16("Count", count_, 0);
    bag.WriteBool("Enabled", enabled_, true);
    bag.WriteFont("Font", font_, Host().AmbientFont());
    bag.WriteBool("ShowTips", showTips_, true);
    bag.WriteString("SimpleText", simpleText_, "");
    bag.WriteInt32("Style", style_, 0);
    const cw::Panel initial; // what a new panel has goes unsaved
    for (std::int16_t i = 0; i < PanelsInList(); ++i) {
        const cw::Panel& p = *panels_[static_cast<size_t>(i)];
        bag.WriteInt32(PanelKey(kPanelAlignmentKey, i), p.Alignment(), initial.Alignment());
        bag.WriteInt32(PanelKey(kPanelAutoSizeKey, i), p.AutoSize(), initial.AutoSize());
        bag.WriteInt32(PanelKey(kPanelBevelKey, i), p.Bevel(), initial.Bevel());
        bag.WriteInt16(PanelKey(kPanelMinWidthKey, i), p.MinWidth(), initial.MinWidth());
        bag.WriteString(PanelKey(kPanelTagKey, i), p.Tag(), initial.Tag());
        bag.WriteString(PanelKey(kPanelTextKey, i), p.Text(), initial.Text());
        bag.WriteString(PanelKey(kPanelToolTipTextKey, i), p.ToolTipText(), initial.ToolTipText());
        bag.WriteBool(PanelKey(kPanelVisibleKey, i), p.Visible(), initial.Visible());
    }
}

void StatusBar::SetCount(std::int16_t count) {
    if (count < 0)
        return;
    count_ = count;
    NotifyPropertyChanged("Count");
    UpdateControl(true);
}

void StatusBar::SetEnabled(bool enabled) {
    enabled_ = enabled;
    NotifyPropertyChanged("Enabled");
    UpdateControl(false);
}

void StatusBar::SetFont(const cw::Font& font) {
    font_ = font;
    NotifyPropertyChanged("Font");
    UpdateControl(false);
}

void StatusBar::SetShowTips(bool showTips) {
    showTips_ = showTips;
    NotifyPropertyChanged("ShowTips");
    UpdateControl(false);
}

void StatusBar::SetSimpleText(std::string text) {
    simpleText_ = std::move(text);
    NotifyPropertyChanged("SimpleText");
    UpdateControl(false);
}

void StatusBar::SetStyle(std::int32_t style) {
    if (style != 0 && style != 1)
        return;
    style_ = style;
    NotifyPropertyChanged("Style");
    UpdateControl(false);
}

cw::Panel* StatusBar::Panel(std::int16_t index) const {
    if (index < 0 || index >= PanelsInList())
        return nullptr;
    return panels_[static_cast<size_t>(index)].get();
}

std::int16_t StatusBar::PanelsInList() const {
    return static_cast<std::int16_t>(std::min<size_t>(static_cast<size_t>(count_), panels_.size()));
}

void StatusBar::NotifyPropertyChanged(const std::string& key) {
    Host().PropertyChanged(key);
}

void StatusBar::RaisePanelClick(cw::Panel& panel, std::int16_t button) {
    if (PanelClick)
        PanelClick(panel, button);
}

void StatusBar::RaisePanelDblClick(cw::Panel& panel, std::int16_t button) {
    if (PanelDblClick)
        PanelDblClick(panel, button);
}

// ---- The native windows ----

void StatusBar::UpdateControl(bool recreate) {
    Component::SetEnabled(enabled_);
    if (recreate && status_) {
        hook_.Destroy();
        if (tip_) {
            tip_.Reset();
            tip_ = MakeTipWindow();
        }
        // The size grip needs a holding window that the user can size.
        const BorderStyle border = Host().ContainerBorderStyle();
        const bool grip =
            border == BorderStyle::Sizable || border == BorderStyle::SizableToolWindow;
        status_.Reset();
        status_ = MakeStatusWindow(grip);
    }
    if (!status_)
        return;
    HWND status = status_.Get();
    EnableWindow(status, enabled_);
    ApplyFont();
    SendMessageA(status, SB_SIMPLE, static_cast<WPARAM>(style_), 0);
    const bool running = Host().UserMode();
    bool grew = false;
    if (style_ == 1) {
        if (running && tip_)
            SendMessageA(tip_.Get(), TTM_ACTIVATE, FALSE, 0);
        SendMessageA(status, SB_SETTEXTA, SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(simpleText_.c_str()));
    } else {
        if (running && tip_)
            SendMessageA(tip_.Get(), TTM_ACTIVATE, showTips_ ? TRUE : FALSE, 0);
        grew = FollowCount();
    }
    if (recreate || grew)
        UpdatePanels(-1);
}

// Builds the new font before giving up the old one, so the window never holds a deleted font and
// a font that cannot be made leaves the previous one in place.
void StatusBar::ApplyFont() {
    OwnedFont font(MakeFont(FontHeight(font_.size, Host().Dpi()), font_));
    if (!font)
        return;
    SendMessageA(status_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    fontHandle_ = std::move(font);
    LayoutPanels();
}

// Makes the panel list follow Count: panels past the end are dropped, new ones start from the
// initial values. True when it grew.
bool StatusBar::FollowCount() {
    const size_t count = static_cast<size_t>(count_);
    if (count <= panels_.size()) {
        panels_.resize(count);
        return false;
    }
    const HoldUpdates hold(*this);
    while (panels_.size() < count)
        AddPanel(PropertyBag{});
    return true;
}

void StatusBar::LayoutPanels() {
    if (!status_)
        return;
    const std::int16_t n = PanelsInList();
    std::vector<PanelMetrics> metrics(static_cast<size_t>(n));
    {
        const ClientDC dc(Hwnd());
        const SelectedObject font(dc.Get(), fontHandle_.Get());
        for (std::int16_t i = 0; i < n; ++i) {
            const cw::Panel& p = *panels_[static_cast<size_t>(i)];
            PanelMetrics& m = metrics[static_cast<size_t>(i)];
            m.visible = p.Visible();
            m.autoSize = p.AutoSize();
            // Minimum widths are pixels at 96 dpi.
            m.minWidth = static_cast<std::int16_t>(
                std::clamp(ScaleForDpi(p.MinWidth(), Host().Dpi()), 0, 32767));
            m.padding = ScaleForDpi(m.padding, Host().Dpi());
            SIZE extent{};
            if (m.visible && m.autoSize == sbrContents && dc.Get() &&
                GetTextExtentPoint32A(dc.Get(), p.Text().c_str(), static_cast<int>(p.Text().size()),
                                      &extent))
                m.textWidth = extent.cx;
        }
    }
    const PartLayout layout = LayoutParts(metrics, Host().ContainerClientWidth());
    for (std::int16_t i = 0; i < n; ++i)
        panels_[static_cast<size_t>(i)]->SetActualWidth(layout.widths[static_cast<size_t>(i)]);
    SendMessageA(status_.Get(), SB_SETPARTS, static_cast<WPARAM>(n),
                 reinterpret_cast<LPARAM>(layout.rightEdges.data()));
}

void StatusBar::SendPanelText(std::int16_t index) {
    // Beyond the addressable parts the index would spill into the flags or the simple text.
    if (index >= kAddressableParts)
        return;
    const cw::Panel& p = *panels_[static_cast<size_t>(index)];
    const std::string text = PartText(p.Alignment(), p.Text());
    SendMessageA(status_.Get(), SB_SETTEXTA, static_cast<WPARAM>(index) | PartTextFlags(p.Bevel()),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::UpdatePanels(std::int16_t index) {
    if (!status_ || preventUpdate_)
        return;
    LayoutPanels();
    const std::int16_t n = PanelsInList();
    if (index != -1) {
        if (index < 0 || index >= n)
            return;
        SendPanelText(index);
        if (Host().UserMode())
            UpdateToolInfo();
        return;
    }
    // Hidden panels keep their text too, ready for when they show again.
    for (std::int16_t i = 0; i < n; ++i)
        SendPanelText(i);
    if (!Host().UserMode())
        return;
    if (tip_) {
        for (std::int16_t j = static_cast<std::int16_t>(count_ - 1); j >= 0; --j) {
            TOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = status_.Get();
            tool.uId = static_cast<UINT_PTR>(j);
            SendMessageA(tip_.Get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
        for (std::int16_t i = 0; i < n; ++i) {
            TOOLINFOA tool =
                ToolRecord(status_.Get(), i, panels_[static_cast<size_t>(i)]->ToolTipText());
            SendMessageA(tip_.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    Hook();
}

void StatusBar::UpdateToolInfo() {
    if (!tip_ || !status_)
        return;
    for (std::int16_t i = 0; i < PanelsInList(); ++i) {
        TOOLINFOA tool =
            ToolRecord(status_.Get(), i, panels_[static_cast<size_t>(i)]->ToolTipText());
        SendMessageA(tip_.Get(), TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// One pair in the hook's list is enough however often this runs; an installed hook stays as is.
void StatusBar::Hook() {
    hook_.SetOwnerHwnd(Hwnd());
    hook_.SetWindowProc(kWindowProcProperty);
    hook_.Clear();
    hook_.Add(kControlProperty, reinterpret_cast<LONG_PTR>(this));
    hook_.Create(&StatusBarHookProc);
}

void StatusBar::Resize() {
    if (!status_)
        return;
    SendMessageA(status_.Get(), SB_SETMINHEIGHT,
                 static_cast<WPARAM>(std::max(0, ClientHeight() - 2)), 0);
    MoveWindow(status_.Get(), 0, 0, ClientWidth(), ClientHeight(), TRUE);
    LayoutPanels();
}

void StatusBar::DpiChanged() {
    if (!status_)
        return;
    ApplyFont(); // lays the parts out again
    if (Host().UserMode())
        UpdateToolInfo();
}

void StatusBar::Refresh() {
    if (!status_)
        return;
    RECT r{};
    GetClientRect(status_.Get(), &r);
    InvalidateRect(status_.Get(), &r, TRUE);
}

void StatusBar::Terminate() {
    if (!status_)
        return;
    hook_.Destroy();
    tip_.Reset();
    status_.Reset();
    fontHandle_.Reset();
}

// ---- The hook ----

LRESULT CALLBACK StatusBarHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_NOTIFY)
        return CallReplacedProc(hwnd, msg, wParam, lParam);

    // Every notification is answered here; none goes on to the component's own procedure.
    StatusBar* bar = HookedControl<StatusBar>(hwnd, kControlProperty);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!bar || !header)
        return 0;
    const UINT code = header->code;
    if (code != NM_CLICK && code != NM_RCLICK && code != NM_DBLCLK && code != NM_RDBLCLK)
        return 0;

    HWND status = bar->ControlHwnd();
    POINT point{};
    if (!status || !GetCursorPos(&point) || !ScreenToClient(status, &point))
        return 0;
    const std::int16_t button = (code == NM_CLICK || code == NM_DBLCLK) ? 1 : 2;
    for (std::int16_t i = 0; i < bar->PanelsInList(); ++i) {
        RECT part{};
        SendMessageA(status, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part));
        if (PtInRect(&part, point)) {
            if (code == NM_CLICK || code == NM_RCLICK)
                bar->RaisePanelClick(*bar->Panel(i), button);
            else
                bar->RaisePanelDblClick(*bar->Panel(i), button);
            break;
        }
    }
    return 0;
}

} // namespace cw
