#include "controls/statusbar/Panel.h"

namespace cw {
namespace {

bool IsEnumValue(std::int32_t value) {
    return value >= 0 && value <= 2;
}

} // namespace

std::string PanelKey(std::string_view stem, std::int16_t index) {
    return std::string(stem) + std::to_string(index) + ")";
}

void Panel::Changed(std::string_view stem, bool movesOthers) {
    if (!owner_)
        return;
    owner_->NotifyPropertyChanged(PanelKey(stem, index_));
    // Sizing changes can move every panel; the others only redraw this one.
    owner_->UpdatePanels(movesOthers ? std::int16_t{-1} : index_);
}

void Panel::SetAlignment(std::int32_t value) {
    if (!IsEnumValue(value))
        return;
    alignment_ = value;
    Changed(kPanelAlignmentKey, false);
}

void Panel::SetAutoSize(std::int32_t value) {
    if (!IsEnumValue(value))
        return;
    autoSize_ = value;
    Changed(kPanelAutoSizeKey, true);
}

void Panel::SetBevel(std::int32_t value) {
    if (!IsEnumValue(value))
        return;
    bevel_ = value;
    Changed(kPanelBevelKey, false);
}

void Panel::SetMinWidth(std::int16_t value) {
    if (value < 1)
        return;
    minWidth_ = value;
    Changed(kPanelMinWidthKey, true);
}

void Panel::SetTag(std::string value) {
    tag_ = std::move(value);
    Changed(kPanelTagKey, false);
}

void Panel::SetText(std::string value) {
    text_ = std::move(value);
    Changed(kPanelTextKey, false);
}

void Panel::SetToolTipText(std::string value) {
    toolTipText_ = std::move(value);
    Changed(kPanelToolTipTextKey, false);
}

void Panel::SetVisible(bool value) {
    visible_ = value;
    Changed(kPanelVisibleKey, false);
}

void Panel::SetIndex(std::int16_t index) {
    if (index >= 0)
        index_ = index;
}

} // namespace cw
