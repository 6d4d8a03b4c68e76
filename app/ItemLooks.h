#pragma once
// How the rows of the main window's two lists look: each item's own icon, looked up on a thread
// of its own (a placeholder until it is known), the all-users mark, and in the new order a rule
// where the date-sorted desktop will start each column.
#include "app/DesktopItems.h"
#include "forms/IconRow.h"
#include "fs/DesktopColumns.h"
#include "win32/IconWorker.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cw {

class ListBox;

class ItemLooks {
public:
    // The message the worker posts to `form` when icons of visible rows have come: hand it to
    // Notice.
    static constexpr UINT kIconsCame = WM_APP + 23;

    // Draws the rows of both lists (which are owner-drawn) until it goes.
    ItemLooks(HWND form, ListBox& current, ListBox& added);
    // The lists draw their texts alone again; the worker's thread is ended.
    ~ItemLooks();
    ItemLooks(const ItemLooks&) = delete;
    ItemLooks& operator=(const ItemLooks&) = delete;

    // The items of a new scan, in its order, at the window's scale; the desktop's columns are
    // asked again.
    void Restart(const std::vector<DesktopItem>& items, int dpi);
    // No file is read until Resume: a run changes times that a lookup could disturb.
    void Stop();
    void Resume();
    // The window's scale changed: every icon at the new size.
    void Rescale(int dpi);
    // The work area, the icon spacing or the display changed: the columns asked again.
    void DesktopChanged();
    void Notice(WPARAM generation);

private:
    IconRow Look(bool newOrder, int row, std::string_view text) const;
    void ShowVisible();
    void Redraw() const;

    ListBox& current_;
    ListBox& added_;
    IconWorker icons_;
    struct Shown {
        std::uint32_t file = 0; // its place in files_
        bool allUsers = false;
    };
    std::unordered_map<std::string, Shown> rows_; // row text -> its file
    IconWorker::Files files_;                     // full paths in scan order, shared with icons_
    int size_ = 16;
    bool toLookUp_ = false; // a scan the worker has not been given yet
    DesktopColumns columns_;
};

} // namespace cw
