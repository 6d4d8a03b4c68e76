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

void ItemLooks::Restart(const std::vector<DesktopItem>& items, const DesktopFolders& folders,
                        int dpi) {
    titles_ = {};
    allUsers_.clear();
    allUsers_.reserve(items.size());
    size_t titleChars = 0, pathChars = 0;
    for (const DesktopItem& item : items) {
        titleChars += item.Title.size();
        pathChars += folders.Of(item.Row.allUsers).size() + item.Row.name.size();
    }
    titles_.Reserve(items.size(), titleChars);
    auto files = std::make_shared<TextList>();
    files->Reserve(items.size(), pathChars);
    for (const DesktopItem& item : items) {
        titles_.Add(item.Title);
        files->Add(folders.Of(item.Row.allUsers), item.Row.name);
        allUsers_.push_back(item.Row.allUsers);
    }
    titles_.Index();
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
    if (const size_t item = titles_.Find(text); item < titles_.Size()) {
        // Until the worker has this scan, its files are those of the one before.
        look.icon = icons_.IconOf(given_ == files_ ? item
                                  : given_         ? given_->Find((*files_)[item])
                                                   : SIZE_MAX);
        look.allUsers = allUsers_[item];
    }
    if (newOrder)
        look.column = ColumnStartingAt(row, columns_.perColumn, columns_.shellIcons);
    return look;
}

// The rows shown now, in both lists, go first.
void ItemLooks::ShowVisible() {
    if (toLookUp_)
        GiveWorker();
    std::vector<std::size_t> visible;
    for (const ListBox* list : {&current_, &added_}) {
        const RowSpan span = VisibleRows(list->Hwnd());
        for (int row = span.first; row < span.first + span.count; ++row)
            if (const size_t item = titles_.Find(RowText(list->Hwnd(), row)); item < titles_.Size())
                visible.push_back(item);
    }
    icons_.SetVisible(visible);
}

void ItemLooks::Redraw() const {
    InvalidateRect(current_.Hwnd(), nullptr, FALSE);
    InvalidateRect(added_.Hwnd(), nullptr, FALSE);
}

} // namespace cw
