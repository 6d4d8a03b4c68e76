#include "controls/systemmenu/SystemMenuEntry.h"

#include "controls/systemmenu/SystemMenuItem.h"

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

bool IsItemCommand(WPARAM wParam, std::int16_t count) {
    const auto command = static_cast<LONG_PTR>(wParam);
    return command >= 0 && command < count;
}

} // namespace cw
