#include "controls/systemmenu/SystemMenu.h"

#include "controls/systemmenu/SystemMenuEntry.h"
#include "controls/systemmenu/SystemMenuIcon.h"
#include "win32/Dpi.h"
#include "win32/Errors.h"
#include "win32/Handles.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace cw {
namespace {

constexpr const char* kWindowProcProperty = "SystemMenuWindowProc";
constexpr const char* kControlProperty = "SystemMenu";
constexpr int kSidePixels = 28;

using Brush = GdiObject<HBRUSH>;

} // namespace

SystemMenu::SystemMenu(ComponentHost& host) : Component(host) {
    // Only the designer ever sees the control.
    SetVisible(!host.UserMode());
}

// A control dropped without Terminate must not leave the window calling into freed memory.
SystemMenu::~SystemMenu() {
    hook_.Destroy();
}

void SystemMenu::InitProperties() {
    count_ = 0;
    enabled_ = true;
    items_.clear();
    UpdateControl(true);
}

void SystemMenu::ReadProperties(const PropertyBag& bag) {
    // A stored count that does not convert, or a negative one, leaves Count as it was.
    if (const auto count = bag.ReadInt16("Count", 0); count && *count >= 0)
        count_ = *count;
    if (const auto enabled = bag.ReadBool("Enabled", true))
        enabled_ = *enabled;
    preventUpdate_ = true;
    items_.clear();
    for (std::int16_t i = 0; i < count_; ++i) {
        cw::SystemMenuItem& item = NewItem(i);
        if (const auto checked = bag.ReadBool(IndexedName("SystemMenuItemChecked", i), false))
            item.SetChecked(*checked);
        if (const auto enabled = bag.ReadBool(IndexedName("SystemMenuItemEnabled", i), true))
            item.SetEnabled(*enabled);
        if (const auto style = bag.ReadInt32(IndexedName("SystemMenuItemStyle", i), smDefault))
            item.SetStyle(*style);
        if (auto tag = bag.ReadString(IndexedName("SystemMenuItemTag", i), ""))
            item.SetTag(std::move(*tag));
        if (auto text = bag.ReadString(IndexedName("SystemMenuItemText", i), ""))
            item.SetText(std::move(*text));
    }
    preventUpdate_ = false;
    UpdateControl(true);
}

void SystemMenu::WriteProperties(PropertyBag& bag) const {
    bag.WriteInt16("Count", count_, 0);
    bag.WriteBool("Enabled", enabled_, true);
    for (const auto& item : items_) {
        const int i = item->Index();
        bag.WriteBool(IndexedName("SystemMenuItemChecked", i), item->Checked(), false);
        bag.WriteBool(IndexedName("SystemMenuItemEnabled", i), item->Enabled(), true);
        bag.WriteInt32(IndexedName("SystemMenuItemStyle", i), item->Style(), smDefault);
        bag.WriteString(IndexedName("SystemMenuItemTag", i), item->Tag(), "");
        bag.WriteString(IndexedName("SystemMenuItemText", i), item->Text(), "");
    }
}

// The design-time look is 28 pixels square at 96 dpi, scaled to the holding window's DPI; the
// icon in it at whole multiples of its pixels, so that it stays sharp.
void SystemMenu::Resize() {
    const int side = ScaleForDpi(kSidePixels, Host().Dpi());
    const auto width = static_cast<int>(std::lround(side * Host().TwipsPerPixelX()));
    const auto height = static_cast<int>(std::lround(side * Host().TwipsPerPixelY()));
    // The host's SetSize resizes this window again; asking only on a difference ends that loop.
    if (Host().Width() != width || Host().Height() != height)
        Host().SetSize(width, height);
}

void SystemMenu::Paint(HDC dc) {
    const int side = ScaleForDpi(kSidePixels, Host().Dpi());
    const int scale = std::max(1, Host().Dpi() / kDefaultDpi);
    const Brush grey(CreateSolidBrush(RGB(115, 115, 115)));
    const Brush white(CreateSolidBrush(RGB(255, 255, 255)));
    const RECT outer{0, 0, side, side};
    const RECT inner{1, 1, side - 1, side - 1};
    FrameRect(dc, &outer, grey.Get());
    FrameRect(dc, &inner, white.Get());
    const int offset = (side - kSystemMenuIconSize * scale) / 2;
    DrawSystemMenuIcon(dc, offset, offset, scale);
}

void SystemMenu::Terminate() {
    hook_.Destroy();
}

void SystemMenu::SetCount(std::int16_t count) {
    if (count < 0)
        return;
    count_ = count;
    NotifyPropertyChanged("Count");
    UpdateControl(true);
}

void SystemMenu::SetEnabled(bool enabled) {
    enabled_ = enabled;
    NotifyPropertyChanged("Enabled");
    UpdateControl(true);
}

cw::SystemMenuItem* SystemMenu::SystemMenuItem(std::int16_t index) const {
    if (index < 0 || index >= count_ || static_cast<size_t>(index) >= items_.size())
        return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

void SystemMenu::UpdateSystemMenuItems(std::int16_t index) {
    if (index != -1 && (index < 0 || index >= count_))
        throw IndexOutOfRangeError();
    if (!Host().UserMode() || !menu_ || preventUpdate_)
        return;
    if (index == -1)
        RebuildEntries();
    else if (const cw::SystemMenuItem* item = SystemMenuItem(index))
        UpdateEntry(*item);
}

void SystemMenu::NotifyPropertyChanged(const std::string& name) {
    Host().PropertyChanged(name);
}

void SystemMenu::RaiseItemClick(cw::SystemMenuItem& item) {
    if (ItemClick)
        ItemClick(item);
}

void SystemMenu::UpdateControl(bool update) {
    // Asking for the system menu gives the window a menu copy of its own: not at design time.
    menu_ = Host().UserMode() ? GetSystemMenu(Host().ContainerHwnd(), FALSE) : nullptr;
    // The list follows Count with or without a menu, so that Count and the items always agree.
    ResizeItems();
    if (update && menu_)
        UpdateSystemMenuItems(-1);
}

void SystemMenu::ResizeItems() {
    const auto count = static_cast<size_t>(count_);
    if (items_.size() >= count) {
        items_.resize(count);
        return;
    }
    // Fresh items go through the setters, so each announces its initial values.
    for (auto i = static_cast<std::int16_t>(items_.size()); i < count_; ++i) {
        cw::SystemMenuItem& item = NewItem(i);
        item.SetChecked(false);
        item.SetEnabled(true);
        item.SetStyle(smDefault);
        item.SetTag("");
        item.SetText("");
    }
}

cw::SystemMenuItem& SystemMenu::NewItem(std::int16_t index) {
    auto item = std::make_unique<cw::SystemMenuItem>();
    item->SetParent(this);
    item->SetIndex(index);
    items_.push_back(std::move(item));
    return *items_.back();
}

void SystemMenu::RebuildEntries() {
    // Only this control's own entries go, all of them (also those of items dropped by a lower
    // Count): the platform's own separators carry command number 0 as well.
    if (entriesMenu_ == menu_) {
        for (auto i = static_cast<std::int16_t>(entries_ - 1); i >= 0; --i) {
            if (const int position = EntryPosition(i); position >= 0)
                DeleteMenu(menu_, static_cast<UINT>(position), MF_BYPOSITION);
        }
    }
    // Another system menu control on the same window must not answer to our numbers, nor we to
    // its: each takes a run of numbers the others leave free (the first one 0..Count-1).
    std::vector<UINT> taken;
    for (int position = 0; position < GetMenuItemCount(menu_); ++position)
        if (const ULONG_PTR owner = EntryOwner(position); owner && owner != mark_)
            taken.push_back(GetMenuItemID(menu_, position));
    base_ = FreeCommandBase(std::move(taken), count_);
    for (const auto& item : items_) {
        const EntryLook look =
            LookOfEntry(item->Style(), item->Checked(), item->Enabled(), enabled_);
        const char* text = look.type == MFT_SEPARATOR ? "" : item->Text().c_str();
        if (!AppendMenuA(menu_, look.type | look.state, base_ + static_cast<UINT>(item->Index()),
                         text))
            continue;
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        info.dwItemData = mark_;
        SetMenuItemInfoA(menu_, static_cast<UINT>(GetMenuItemCount(menu_) - 1), TRUE, &info);
    }
    entriesMenu_ = menu_;
    entries_ = static_cast<std::int16_t>(items_.size());
    HookOwner();
}

void SystemMenu::UpdateEntry(const cw::SystemMenuItem& item) {
    if (entriesMenu_ != menu_ || item.Index() >= entries_)
        return; // no entry yet: the next rebuild brings it
    const int position = EntryPosition(item.Index());
    if (position < 0)
        return;
    const EntryLook look = LookOfEntry(item.Style(), item.Checked(), item.Enabled(), enabled_);
    std::string text = item.Text(); // the record wants a writable buffer
    MENUITEMINFOA info{};
    info.cbSize = sizeof info; // the x64 size; the platform refuses the short 32-bit record
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
    info.fType = look.type;
    info.fState = look.state;
    info.wID = base_ + static_cast<UINT>(item.Index());
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    // By position: by command number 0 the platform would find its own separator first.
    SetMenuItemInfoA(menu_, static_cast<UINT>(position), TRUE, &info);
}

ULONG_PTR SystemMenu::EntryOwner(int position) const {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    return GetMenuItemInfoA(menu_, static_cast<UINT>(position), TRUE, &info) ? info.dwItemData : 0;
}

int SystemMenu::EntryPosition(std::int16_t index) const {
    const UINT command = base_ + static_cast<UINT>(index);
    for (int position = GetMenuItemCount(menu_) - 1; position >= 0; --position) {
        if (GetMenuItemID(menu_, position) == command && EntryOwner(position) == mark_)
            return position;
    }
    return -1;
}

void SystemMenu::HookOwner() {
    hook_.SetOwnerHwnd(Host().ContainerHwnd());
    hook_.SetWindowProc(kWindowProcProperty);
    // Only the first successful Create sets the pair on the window; one pair in the list is enough.
    hook_.Clear();
    hook_.Add(kControlProperty, reinterpret_cast<LONG_PTR>(this));
    hook_.Create(&SystemMenuHookProc);
}

LRESULT CALLBACK SystemMenuHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_SYSCOMMAND)
        return CallReplacedProc(hwnd, msg, wParam, lParam);
    if (SystemMenu* control = HookedControl<SystemMenu>(hwnd, kControlProperty)) {
        const int index = ItemOfCommand(wParam, control->base_, control->Count());
        if (cw::SystemMenuItem* item =
                index < 0 ? nullptr : control->SystemMenuItem(static_cast<std::int16_t>(index))) {
            // The handler may end the control: nothing of it is touched afterwards.
            control->RaiseItemClick(*item);
            return 0;
        }
    }
    CallReplacedProc(hwnd, msg, wParam, lParam);
    return 0;
}

} // namespace cw
