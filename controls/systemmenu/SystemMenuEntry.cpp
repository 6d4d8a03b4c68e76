#include "controls/systemmenu/SystemMenuEntry.h"

#include "controls/systemmenu/SystemMenuItem.h"

#include <algorithm>

namespace cw {

std::string IndexedName(std::string_view name, int index) {
    std::string out(name);
    out += '(';
    out += std::to_string(index);
    out += ')';
    return out;
}

EntryLook LookOfEntry(std::int32_t style, bool checked, bool itemEnabled, bool controlEnabled) {
    EntryLook look;
    if (style == smSeparator) {
        look.type = MFT_SEPARATOR;
        return look;
    }
    if (checked)
        look.state |= MFS_CHECKED;
    if (!itemEnabled || !controlEnabled)
        look.state |= MFS_GRAYED;
    return look;
}

int ItemOfCommand(WPARAM wParam, UINT base, std::int16_t count) {
    const auto command = static_cast<LONG_PTR>(wParam);
    if (command < static_cast<LONG_PTR>(base) || command - static_cast<LONG_PTR>(base) >= count)
        return -1;
    return static_cast<int>(command - static_cast<LONG_PTR>(base));
}

UINT FreeCommandBase(std::vector<UINT> taken, std::int16_t count) {
    std::sort(taken.begin(), taken.end());
    UINT base = 0;
    for (const UINT number : taken) {
        if (number >= base + static_cast<UINT>(count))
            break;
        if (number >= base)
            base = number + 1;
    }
    return base;
}

} // namespace cw
