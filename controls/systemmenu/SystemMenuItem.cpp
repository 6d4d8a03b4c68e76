#include "controls/systemmenu/SystemMenuItem.h"

#include "controls/systemmenu/SystemMenu.h"
#include "controls/systemmenu/SystemMenuEntry.h"

namespace cw {

void SystemMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    Changed("MenuChecked");
}

void SystemMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed("MenuEnabled");
}

void SystemMenuItem::SetStyle(std::int32_t style) {
    if (style != smDefault && style != smSeparator)
        return;
    style_ = style;
    Changed("MenuStyle");
}

void SystemMenuItem::SetTag(std::string tag) {
    tag_ = std::move(tag);
    Changed("MenuTag");
}

void SystemMenuItem::SetText(std::string text) {
    text_ = std::move(text);
    Changed("MenuText");
}

void SystemMenuItem::SetIndex(std::int16_t index) {
    if (index >= 0)
        index_ = index;
}

void SystemMenuItem::Changed(const char* name) {
    if (!parent_)
        return;
    parent_->NotifyPropertyChanged(IndexedName(name, index_));
    parent_->UpdateSystemMenuItems(index_);
}

} // namespace cw
