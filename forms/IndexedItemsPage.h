#pragma once
// A property page over an indexed list of items (a status bar's panels, a system menu's items): it
// edits one item at a time, the one whose index the disabled index field shows. Only the scroll bar
// beside it changes the index, and moving it first applies pending edits to the item shown.
//
// A page adds its item's fields below the index, says how many items the selected component has,
// loads an item into the fields and writes them back (ApplyChanges, with the updates held).
#include "forms/PropertyPage.h"

#include <cstdint>

namespace cw {

class IndexedItemsPage : public PropertyPage {
public:
    // Shows the item named by the index, or disables the page for a component without items.
    void SelectionChanged() override;

protected:
    using PropertyPage::PropertyPage;

    // Holds a component's updates while the page writes every field of an item, so that it lays
    // out once; it is never left holding them back, whatever a setter does.
    template <typename C> class HeldUpdates {
    public:
        explicit HeldUpdates(C& component) : component_(component) {
            component_.SetPreventUpdate(true);
        }
        ~HeldUpdates() { component_.SetPreventUpdate(false); }
        HeldUpdates(const HeldUpdates&) = delete;
        HeldUpdates& operator=(const HeldUpdates&) = delete;

    private:
        C& component_;
    };

    // The component edited: the first one selected, when it is a T.
    template <typename T> T* Selected() const {
        const auto& selected = SelectedControls();
        return selected.empty() ? nullptr : dynamic_cast<T*>(selected.front());
    }
    // The index the fields show.
    std::int16_t IndexShown() const;

    virtual void CreateItemFields() = 0;
    // Items of the selected component; 0 without one.
    virtual std::int16_t ItemCount() const = 0;
    // Fills the fields from item `index`, if there is one.
    virtual void LoadItem(std::int16_t index) = 0;
    // Disabled text boxes and combo boxes take the scroll-bar colour.
    virtual void EnableFields(bool enabled);

    void CreateFields() override;
    // Text boxes, combo boxes and check boxes edit the item shown; the scroll bar chooses another.
    void Change(HWND field) override;
    void Click(HWND field) override;

private:
    HWND textIndex_ = nullptr, hscrollIndex_ = nullptr;
};

} // namespace cw
