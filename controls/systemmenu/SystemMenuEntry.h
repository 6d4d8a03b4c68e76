#pragma once
// The window-free rules of the system menu control: names, entry looks, command numbers.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The item a WM_SYSCOMMAND names when the control's entries carry the command numbers
// base..base+count-1, or -1. The whole wParam counts, as a signed number: masking it down would
// turn foreign commands into ours.
int ItemOfCommand(WPARAM wParam, UINT base, std::int16_t count);

// The lowest first command number from which `count` numbers in a row miss every number in
// `taken` (the entries of the window's other system menu controls).
UINT FreeCommandBase(std::vector<UINT> taken, std::int16_t count);

} // namespace cw
