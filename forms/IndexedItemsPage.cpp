#include "forms/IndexedItemsPage.h"

#include <charconv>
#include <string>

namespace cw {

void IndexedItemsPage::CreateFields() {
    Add(FieldKind::Label, "LabelIndex", "Index:", 240, 285, 975, 255);
    textIndex_ = Add(FieldKind::TextBox, "TextIndex", "0", 1320, 240, 495, 285);
    hscrollIndex_ = Add(FieldKind::HScrollBar, "HScrollIndex", "", 1815, 240, 495, 285);
    // The index changes only through the scroll bar.
    EnableWindow(textIndex_, FALSE);
    SetBackColor(textIndex_, kColourScrollBars);
    CreateItemFields();
}

// Only the page writes the field: a number from 0 to the last index.
std::int16_t IndexedItemsPage::IndexShown() const {
    const std::string text = Text(textIndex_);
    std::int16_t index = 0;
    std::from_chars(text.data(), text.data() + text.size(), index);
    return index < 0 ? std::int16_t{0} : index;
}

void IndexedItemsPage::EnableFields(bool enabled) {
    for (const auto& [field, kind] : Fields()) {
        if (field == textIndex_)
            continue;
        if (kind == FieldKind::TextBox || kind == FieldKind::ComboBox)
            SetBackColor(field, enabled ? kColourWindowBackground : kColourScrollBars);
        EnableWindow(field, enabled);
    }
}

void IndexedItemsPage::SelectionChanged() {
    const std::int16_t count = ItemCount();
    // A page disabled for an earlier selection without items can edit this one.
    EnableFields(count > 0);
    if (count <= 0)
        return;
    const auto last = static_cast<std::int16_t>(count - 1);
    SetScrollMax(hscrollIndex_, last);
    if (IndexShown() > last) {
        SetText(textIndex_, std::to_string(last));
        SetScrollValue(hscrollIndex_, last);
    }
    LoadItem(IndexShown());
    SetChanged(false);
}

void IndexedItemsPage::Change(HWND field) {
    if (field == textIndex_)
        return;
    if (field != hscrollIndex_) {
        SetChanged(true);
        return;
    }
    // The fields still show the item named by the old index: pending edits go there first. With
    // none pending the item is left alone, so that looking through the items does not mark the
    // design as modified.
    if (Changed())
        ApplyChanges();
    SetText(textIndex_, std::to_string(ScrollValue(hscrollIndex_)));
    LoadItem(IndexShown());
    SetChanged(false);
}

void IndexedItemsPage::Click(HWND /*field*/) {
    SetChanged(true);
}

} // namespace cw
