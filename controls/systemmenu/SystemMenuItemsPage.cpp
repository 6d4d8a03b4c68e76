#include "controls/systemmenu/SystemMenuItemsPage.h"

#include <string>

namespace cw {
namespace {

// The menu is refreshed once, when the page has written every field of an item, and the control
// is never left holding its updates back.
class HeldUpdates {
public:
    explicit HeldUpdates(SystemMenu& control) : control_(control) {
        control_.SetPreventUpdate(true);
    }
    ~HeldUpdates() { control_.SetPreventUpdate(false); }
    HeldUpdates(const HeldUpdates&) = delete;
    HeldUpdates& operator=(const HeldUpdates&) = delete;

private:
    SystemMenu& control_;
};

std::int16_t ToIndex(const std::string& text) {
    try {
        const int value = std::stoi(text);
        return value >= 0 && value <= 32767 ? static_cast<std::int16_t>(value) : std::int16_t{0};
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace

SystemMenuItemsPage::SystemMenuItemsPage() : PropertyPage("SystemMenuItems", 5880, 2700) {}

void SystemMenuItemsPage::CreateFields() {
    Add(FieldKind::Label, "LabelIndex", "Index:", 240, 285, 975, 255);
    textIndex_ = Add(FieldKind::TextBox, "TextIndex", "0", 1320, 240, 495, 285);
    hscrollIndex_ = Add(FieldKind::HScrollBar, "HScrollIndex", "", 1815, 240, 495, 285);
    labelText_ = Add(FieldKind::Label, "LabelText", "Text:", 240, 675, 975, 255);
    textText_ = Add(FieldKind::TextBox, "TextText", "", 1320, 630, 4335, 285);
    Add(FieldKind::Label, "LabelStyle", "Style:", 240, 1065, 975, 255);
    comboStyle_ = Add(FieldKind::ComboBox, "ComboStyle", "", 1320, 1005, 1695, 315);
    checkChecked_ = Add(FieldKind::CheckBox, "CheckChecked", "Checked:", 210, 1440, 1305, 255);
    checkEnabled_ = Add(FieldKind::CheckBox, "CheckEnabled", "Enabled:", 210, 1830, 1305, 255);
    labelTag_ = Add(FieldKind::Label, "LabelTag", "Tag:", 240, 2235, 975, 255);
    textTag_ = Add(FieldKind::TextBox, "TextTag", "", 1320, 2190, 4335, 285);
    // The index changes only through the scroll bar.
    EnableWindow(textIndex_, FALSE);
    SetBackColor(textIndex_, kColourScrollBars);
}

void SystemMenuItemsPage::Initialize() {
    AddItem(comboStyle_, "0 - smDefault");
    AddItem(comboStyle_, "1 - smSeparator");
}

SystemMenu* SystemMenuItemsPage::SelectedMenu() const {
    const auto& selected = SelectedControls();
    return selected.empty() ? nullptr : dynamic_cast<SystemMenu*>(selected.front());
}

std::int16_t SystemMenuItemsPage::IndexShown() const {
    return ToIndex(Text(textIndex_));
}

void SystemMenuItemsPage::EnableFields(bool enabled) {
    for (const auto& [field, kind] : Fields()) {
        if (field == textIndex_)
            continue;
        if (kind == FieldKind::TextBox || kind == FieldKind::ComboBox)
            SetBackColor(field, enabled ? kColourWindowBackground : kColourScrollBars);
        EnableWindow(field, enabled);
    }
}

void SystemMenuItemsPage::SelectionChanged() {
    SystemMenu* control = SelectedMenu();
    if (!control || !control->SystemMenuItem(0)) {
        EnableFields(false);
        return;
    }
    // A page disabled for an earlier selection without items can edit this one; the style of
    // the item loaded below settles the separator's fields.
    EnableFields(true);
    const auto last = static_cast<std::int16_t>(control->Count() - 1);
    SetScrollMax(hscrollIndex_, last);
    if (IndexShown() > last) {
        SetText(textIndex_, std::to_string(last));
        SetScrollValue(hscrollIndex_, last);
    }
    Load();
    SetChanged(false);
}

void SystemMenuItemsPage::Load() {
    SystemMenu* control = SelectedMenu();
    const SystemMenuItem* item = control ? control->SystemMenuItem(IndexShown()) : nullptr;
    if (!item)
        return;
    SetText(textText_, item->Text());
    SetListIndex(comboStyle_, item->Style());
    SetValue(checkChecked_, item->Checked() ? 1 : 0);
    SetValue(checkEnabled_, item->Enabled() ? 1 : 0);
    SetText(textTag_, item->Tag());
}

void SystemMenuItemsPage::ApplyChanges() {
    SystemMenu* control = SelectedMenu();
    const std::int16_t index = IndexShown();
    SystemMenuItem* item = control ? control->SystemMenuItem(index) : nullptr;
    if (!item)
        return;
    {
        // A separator's disabled fields are written too: they keep what the item had.
        const HeldUpdates held(*control);
        item->SetText(Text(textText_));
        item->SetStyle(ListIndex(comboStyle_));
        item->SetChecked(Value(checkChecked_) != 0);
        item->SetEnabled(Value(checkEnabled_) != 0);
        item->SetTag(Text(textTag_));
    }
    control->UpdateSystemMenuItems(index);
}

void SystemMenuItemsPage::StyleChosen() {
    const bool text = ListIndex(comboStyle_) == smDefault;
    const Colour back = text ? kColourWindowBackground : kColourScrollBars;
    EnableWindow(labelText_, text);
    SetBackColor(textText_, back);
    EnableWindow(textText_, text);
    EnableWindow(checkChecked_, text);
    EnableWindow(checkEnabled_, text);
    EnableWindow(labelTag_, text);
    SetBackColor(textTag_, back);
    EnableWindow(textTag_, text);
    SetChanged(true);
}

void SystemMenuItemsPage::Change(HWND field) {
    if (field == hscrollIndex_) {
        // The fields still show the item named by the old index: pending edits go there first.
        // With none pending the item is left alone, so that looking through the items does not
        // mark the design as modified.
        if (Changed())
            ApplyChanges();
        SetText(textIndex_, std::to_string(ScrollValue(hscrollIndex_)));
        Load();
        SetChanged(false);
    } else if (field == textText_ || field == textTag_) {
        SetChanged(true);
    }
}

void SystemMenuItemsPage::Click(HWND field) {
    if (field == comboStyle_)
        StyleChosen();
    else if (field == checkChecked_ || field == checkEnabled_)
        SetChanged(true);
}

} // namespace cw
