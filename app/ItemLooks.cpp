#include "app/ItemLooks.h"

#include "forms/ListBox.h"
#include "forms/ListRows.h"
#include "fs/ShortcutIcons.h"

#include <memory>
#include <utility>

namespace cw {

ItemLooks::ItemLooks(HWND form, ListBox& current, ListBox& added)
    : current_(current), added_(added), icons_(form, kIconsCame, {&IconSourceOf, &IconOfSource}) {
    current_.RowLook = [this](int row, std::string_view text) { return Look(false, row, text); };
    added_.RowLook = [this](int row, std::string_view text) { return Look(true, row, text); };
    current_.Painted = added_.Painted = [this] { ShowVisible(); };
}

ItemLooks::~ItemLooks() {
    current_.RowLook = added_.RowLook = nullptr;
    current_.Painted = added_.Painted = nullptr;
}

void ItemLooks::Restart(const std::vector<DesktopItem>& items, int dpi) {
    rows_.clear();
    rows_.reserve(items.size());
    auto files = std::make_shared<std::vector<std::string>>();
    files->reserve(items.size());
    for (const DesktopItem& item : items) {
        rows_.emplace(item.Title,
                      Shown{static_cast<std::uint32_t>(files->size()), item.Row.allUsers});
        files->push_back(item.File);
    }
    files_ = std::move(files);
    size_ = IconSizeForDpi(dpi);
    columns_ = QueryDesktopColumns();
    // The worker is given the scan when the lists paint it: at start-up its thread (and the
    // libraries its lookups load) would otherwise compete with the window's first paint.
    toLookUp_ = true;
    Redraw();
}

void ItemLooks::Stop() {
    toLookUp_ = false; // Resume gives it
    icons_.Stop();
}

void ItemLooks::Resume() {
    toLookUp_ = false;
    icons_.Restart(files_, size_);
    ShowVisible();
}

void ItemLooks::Rescale(int dpi) {
    size_ = IconSizeForDpi(dpi);
    toLookUp_ = false;
    icons_.Restart(files_, size_);
    Redraw();
}

void ItemLooks::DesktopChanged() {
    columns_ = QueryDesktopColumns();
    InvalidateRect(added_.Hwnd(), nullptr, FALSE);
}

void ItemLooks::Notice(WPARAM generation) {
    if (icons_.TakeNotice(generation))
        Redraw();
}

IconRow ItemLooks::Look(bool newOrder, int row, std::string_view text) const {
    IconRow look{text};
    if (const auto found = rows_.find(std::string(text)); found != rows_.end()) {
        look.icon = icons_.IconOf(found->second.file);
        look.allUsers = found->second.allUsers;
    }
    if (newOrder)
        look.column = ColumnStartingAt(row, columns_.perColumn, columns_.shellIcons);
    return look;
}

// The rows shown now, in both lists, go first.
void ItemLooks::ShowVisible() {
    if (std::exchange(toLookUp_, false))
        icons_.Restart(files_, size_);
    std::vector<std::size_t> visible;
    for (const ListBox* list : {&current_, &added_}) {
        const RowSpan span = VisibleRows(list->Hwnd());
        for (int row = span.first; row < span.first + span.count; ++row)
            if (const auto found = rows_.find(RowText(list->Hwnd(), row)); found != rows_.end())
                visible.push_back(found->second.file);
    }
    icons_.SetVisible(visible);
}

void ItemLooks::Redraw() const {
    InvalidateRect(current_.Hwnd(), nullptr, FALSE);
    InvalidateRect(added_.Hwnd(), nullptr, FALSE);
}

} // namespace cw
