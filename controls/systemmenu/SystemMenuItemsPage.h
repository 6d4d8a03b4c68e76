#pragma once
// The "SystemMenuItems" property page of a system menu control: edits one item at a time, chosen
// with the index scroll bar, through the control's public members only. A separator has no text,
// check mark, enabled state or tag to edit: choosing that style disables those fields and keeps
// what they hold.
#include "controls/systemmenu/SystemMenu.h"
#include "forms/PropertyPage.h"

#include <cstdint>

namespace cw {

class SystemMenuItemsPage : public PropertyPage {
public:
    SystemMenuItemsPage();

    // Fills the style list.
    void Initialize() override;
    // Shows the item named by the index, or disables the page for a control without items.
    void SelectionChanged() override;
    // Writes the fields into the item shown, then refreshes its menu entry once.
    void ApplyChanges() override;

protected:
    void CreateFields() override;
    void Change(HWND field) override;
    void Click(HWND field) override;

private:
    SystemMenu* SelectedMenu() const;
    std::int16_t IndexShown() const;
    void Load();
    void EnableFields(bool enabled);
    void StyleChosen();

    HWND textIndex_ = nullptr, hscrollIndex_ = nullptr, labelText_ = nullptr, textText_ = nullptr,
         comboStyle_ = nullptr, checkChecked_ = nullptr, checkEnabled_ = nullptr,
         labelTag_ = nullptr, textTag_ = nullptr;
};

} // namespace cw
