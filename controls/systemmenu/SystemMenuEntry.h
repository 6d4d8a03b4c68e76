#pragma once
// The window-free rules of the system menu control: names, entry looks, command numbers.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace cw {

// "SystemMenuItemText" and 1 give "SystemMenuItemText(1)": the per-item persistence keys and the
// names under which item changes are announced.
std::string IndexedName(std::string_view name, int index);

// Type and state bits of an item's entry. The MF_ flags of AppendMenuA and the MFT_/MFS_ fields
// of MENUITEMINFOA share these values, so appending and updating give the same entry.
struct EntryLook {
    UINT type = MFT_STRING;
    UINT state = 0;
};

// A separator is never checked or greyed: it cannot be chosen either way. A text entry is greyed
// unless both the item and the control are enabled.
EntryLook LookOfEntry(std::int32_t style, bool checked, bool itemEnabled, bool controlEnabled);

// Whether a WM_SYSCOMMAND names one of the control's entries. The whole wParam counts, as a
// signed number: masking it down would turn foreign commands into ours.
bool IsItemCommand(WPARAM wParam, std::int16_t count);

} // namespace cw
