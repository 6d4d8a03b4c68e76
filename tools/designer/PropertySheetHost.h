#pragma once
// Shows a component's property page in the platform's modal property sheet, with OK, Cancel and
// Apply, and plays the page's host: it gives the page the selection, offers Apply while the page
// has edits (Changed), and calls ApplyChanges on Apply and on OK.
//
// The sheet's page is an empty in-memory dialog template sized to the page; the page builds its
// own window inside it. So the page stays one class, laid out in twips, that tests also create on
// any window, and no resource script has to repeat its layout.
#include <windows.h>

#include <string>
#include <vector>

namespace cw {

class Component;
class PropertyPage;

class PropertySheetHost {
public:
    PropertySheetHost(PropertyPage& page, std::vector<Component*> selection);
    PropertySheetHost(const PropertySheetHost&) = delete;
    PropertySheetHost& operator=(const PropertySheetHost&) = delete;

    // Shows "<caption> Properties" over `owner` until the user closes it. False when the sheet
    // could not be shown.
    bool Run(HWND owner, const std::string& caption);
    // The sheet while it is shown, else nullptr.
    HWND Sheet() const { return sheet_; }

private:
    static INT_PTR CALLBACK PageProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    static INT_PTR HandlePageMessage(HWND dialog, UINT msg, LPARAM lParam);
    void PageCreated(HWND dialog);
    LRESULT Apply();
    void PageDestroyed();

    PropertyPage& page_;
    std::vector<Component*> selection_;
    HWND sheet_ = nullptr;
    HWND pageDialog_ = nullptr;
};

} // namespace cw
