#include "controls/systemmenu/SystemMenuItemsPage.h"

#include <string>

namespace cw {

SystemMenuItemsPage::SystemMenuItemsPage() : IndexedItemsPage("SystemMenuItems", 5880, 2700) {}

void SystemMenuItemsPage::CreateItemFields() {
    labelText_ = Add(FieldKind::Label, "LabelText", "Text:", 240, 675, 975, 255);
    textText_ = Add(FieldKind::TextBox, "TextText", "", 1320, 630, 4335, 285);
    Add(FieldKind::Label, "LabelStyle", "Style:", 240, 1065, 975, 255);
    comboStyle_ = Add(FieldKind::ComboBox, "ComboStyle", "", 1320, 1005, 1695, 315);
    checkChecked_ = Add(FieldKind::CheckBox, "CheckChecked", "Checked:", 210, 1440, 1305, 255);
    checkEnabled_ = Add(FieldKind::CheckBox, "CheckEnabled", "Enabled:", 210, 1830, 1305, 255);
    labelTag_ = Add(FieldKind::Label, "LabelTag", "Tag:", 240, 2235, 975, 255);
    textTag_ = Add(FieldKind::TextBox, "TextTag", "", 1320, 2190, 4335, 285);
}

void SystemMenuItemsPage::Initialize() {
    AddItem(comboStyle_, "0 - smDefault");
    AddItem(comboStyle_, "1 - smSeparator");
}

std::int16_t SystemMenuItemsPage::ItemCount() const {
    const SystemMenu* control = Selected<SystemMenu>();
    return control && control->SystemMenuItem(0) ? control->Count() : std::int16_t{0};
}

void SystemMenuItemsPage::LoadItem(std::int16_t index) {
    const SystemMenu* control = Selected<SystemMenu>();
    const SystemMenuItem* item = control ? control->SystemMenuItem(index) : nullptr;
    if (!item)
        return;
    SetText(textText_, item->Text());
    SetListIndex(comboStyle_, item->Style()); // its Click settles the separator's fields
    SetValue(checkChecked_, item->Checked() ? 1 : 0);
    SetValue(checkEnabled_, item->Enabled() ? 1 : 0);
    SetText(textTag_, item->Tag());
}

void SystemMenuItemsPage::ApplyChanges() {
    SystemMenu* control = Selected<SystemMenu>();
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
}

void SystemMenuItemsPage::Click(HWND field) {
    if (field == comboStyle_)
        StyleChosen();
    IndexedItemsPage::Click(field);
}

} // namespace cw
