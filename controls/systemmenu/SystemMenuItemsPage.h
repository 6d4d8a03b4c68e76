#pragma once
// The "SystemMenuItems" property page of a system menu control: edits one item at a time, chosen
// with the index scroll bar, through the control's public members only. A separator has no text,
// check mark, enabled state or tag to edit: choosing that style disables those fields and keeps
// what they hold.
#include "controls/systemmenu/SystemMenu.h"
#include "forms/IndexedItemsPage.h"

#include <cstdint>

namespace cw {

class SystemMenuItemsPage : public IndexedItemsPage {
public:
    SystemMenuItemsPage();

    // Fills the style list.
    void Initialize() override;
    // Writes the fields into the item shown, then refreshes its menu entry once.
    void ApplyChanges() override;

protected:
    void CreateItemFields() override;
    std::int16_t ItemCount() const override;
    void LoadItem(std::int16_t index) override;
    void Click(HWND field) override;

private:
    void StyleChosen();

    HWND labelText_ = nullptr, textText_ = nullptr, comboStyle_ = nullptr, checkChecked_ = nullptr,
         checkEnabled_ = nullptr, labelTag_ = nullptr, textTag_ = nullptr;
};

} // namespace cw
