#pragma once
// Adds commands to the system menu of the window that holds it and raises ItemClick when the user
// picks one. Invisible at run time; at design time it shows a small framed icon and leaves every
// menu alone.
#include "controls/systemmenu/SystemMenuItem.h"
#include "forms/Component.h"
#include "subclass/Subclassing.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cw {

// Installed on the holding window: raises ItemClick for the control's own command numbers and
// passes every other message on, so that the standard system commands keep working. Item i's
// entry carries command number i, unless another system menu control on the window holds that
// number: the control then moves its run of numbers up to the first free one.
LRESULT CALLBACK SystemMenuHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class SystemMenu : public Component {
public:
    explicit SystemMenu(ComponentHost& host);
    ~SystemMenu() override;

    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) const override;
    // Always 28 x 28 pixels, whatever size is asked for.
    void Resize() override;
    void Paint(HDC dc) override;
    // Unhooks the window; the entries stay in its menu.
    void Terminate() override;

    // Number of items; a negative value is ignored. Setting it rebuilds the menu.
    std::int16_t Count() const { return count_; }
    void SetCount(std::int16_t count);

    // Greys every entry when false. This is the control's own switch, not the component window's
    // enabled state (which hides it here: the window is never shown at run time).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Item `index`, or nullptr outside 0..Count-1. The control keeps ownership.
    cw::SystemMenuItem* SystemMenuItem(std::int16_t index) const;

    // While true, changes are not carried to the menu; clearing it does not refresh the menu:
    // call UpdateSystemMenuItems(-1) for that.
    bool PreventUpdate() const { return preventUpdate_; }
    void SetPreventUpdate(bool prevent) { preventUpdate_ = prevent; }

    // Carries item `index` (or, with -1, every item) to the menu; does nothing at design time,
    // while PreventUpdate is set or before there is a menu. Any other index throws
    // IndexOutOfRangeError and changes nothing.
    void UpdateSystemMenuItems(std::int16_t index);

    // Raised with the chosen item, before the hook procedure returns.
    std::function<void(cw::SystemMenuItem&)> ItemClick;

private:
    friend class cw::SystemMenuItem;
    friend LRESULT CALLBACK SystemMenuHookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void NotifyPropertyChanged(const std::string& name);
    void RaiseItemClick(cw::SystemMenuItem& item);
    // Obtains the menu (run time only), brings the list to Count and rebuilds when asked.
    void UpdateControl(bool update);
    void ResizeItems();
    cw::SystemMenuItem& NewItem(std::int16_t index);
    void RebuildEntries();
    void UpdateEntry(const cw::SystemMenuItem& item);
    ULONG_PTR EntryOwner(int position) const;
    // Where item `index`'s entry stands in the menu, or -1.
    int EntryPosition(std::int16_t index) const;
    void HookOwner();

    std::vector<std::unique_ptr<cw::SystemMenuItem>> items_;
    bool enabled_ = true;
    bool preventUpdate_ = false;
    std::int16_t count_ = 0;
    Subclassing hook_;
    HMENU menu_ = nullptr; // the holding window's system menu; the window owns it
    // The entries this control has put into entriesMenu_: items 0..entries_-1, under the command
    // numbers base_..base_+entries_-1.
    HMENU entriesMenu_ = nullptr;
    std::int16_t entries_ = 0;
    UINT base_ = 0;
    // The data of each entry this control appends, which tells its entries from the platform's and
    // from other controls' (also from those a terminated control left in the menu): one number per
    // control in the process, never 0.
    const ULONG_PTR mark_ = NextMark();
    static ULONG_PTR NextMark() {
        static ULONG_PTR last = 0;
        return ++last;
    }
};

} // namespace cw
