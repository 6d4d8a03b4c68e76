#include "app/ItemLooks.h"

#include "forms/ListBox.h"
#include "forms/ListRows.h"
#include "fs/ShortcutIcons.h"

#include <cstdint>
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

void ItemLooks::Restart(const RowFiles& rows, const DesktopFolders& folders, int dpi) {
    rows_ = &rows;
    size_t chars = 0;
    for (size_t row = 0; row < rows.Size(); ++row)
        chars += folders.Of(rows.AllUsers(row)).size() + rows.Name(row).size();
    auto files = std::make_shared<TextList>();
    files->Reserve(rows.Size(), chars);
    for (size_t row = 0; row < rows.Size(); ++row)
        files->Add(folders.Of(rows.AllUsers(row)), rows.Name(row));
    files->Index();
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
    GiveWorker();
    ShowVisible();
}

void ItemLooks::Rescale(int dpi) {
    size_ = IconSizeForDpi(dpi);
    GiveWorker();
    Redraw();
}

void ItemLooks::GiveWorker() {
    toLookUp_ = false;
    given_ = files_;
    icons_.Restart(files_, size_);
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
    if (const size_t item = Place(text); item != SIZE_MAX) {
        // Until the worker has this scan, its files are those of the one before.
        look.icon = icons_.IconOf(given_ == files_ ? item
                                  : given_         ? given_->Find((*files_)[item])
                                                   : SIZE_MAX);
        look.allUsers = rows_->AllUsers(item);
    }
    if (newOrder)
        look.column = ColumnStartingAt(row, columns_.perColumn, columns_.shellIcons);
    return look;
}

// The place of a row's text in the scan; SIZE_MAX for none.
size_t ItemLooks::Place(std::string_view text) const {
    const size_t place = rows_ ? rows_->Find(text) : SIZE_MAX;
    return rows_ && place < rows_->Size() ? place : SIZE_MAX;
}

// The rows shown now, in both lists, go first.
void ItemLooks::ShowVisible() {
    if (toLookUp_)
        GiveWorker();
    std::vector<std::size_t> visible;
    for (const ListBox* list : {&current_, &added_}) {
        const RowSpan span = VisibleRows(list->Hwnd());
        for (int row = span.first; row < span.first + span.count; ++row)
            if (const size_t item = Place(RowText(list->Hwnd(), row)); item != SIZE_MAX)
                visible.push_back(item);
    }
    icons_.SetVisible(visible);
}

void ItemLooks::Redraw() const {
    InvalidateRect(current_.Hwnd(), nullptr, FALSE);
    InvalidateRect(added_.Hwnd(), nullptr, FALSE);
}

} // namespace cw
