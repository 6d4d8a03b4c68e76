#pragma once
// How the rows of the main window's two lists look: each item's own icon, looked up on a thread
// of its own (a placeholder until it is known), the all-users mark, and in the new order a rule
// where the date-sorted desktop will start each column.
#include "app/DesktopItems.h"
#include "forms/IconRow.h"
#include "fs/DesktopColumns.h"
#include "win32/IconWorker.h"

#include <windows.h>

#include <string>
#include <string_view>
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

    // The rows of a new scan of `folders` (which the window keeps while it shows them), at the
    // window's scale; the desktop's columns are asked again.
    void Restart(const RowFiles& rows, const DesktopFolders& folders, int dpi);
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
    size_t Place(std::string_view text) const;
    void ShowVisible();
    void GiveWorker();
    void Redraw() const;

    ListBox& current_;
    ListBox& added_;
    IconWorker icons_;
    const RowFiles* rows_ = nullptr; // the window's
    IconWorker::Files files_;        // the full paths of rows_, at their places; shared with icons_
    IconWorker::Files given_; // the files the worker has: files_, or those of the scan before
    int size_ = 16;
    bool toLookUp_ = false; // a scan the worker has not been given yet
    DesktopColumns columns_;
};

} // namespace cw
