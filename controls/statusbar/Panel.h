#pragma once
// One panel of a status bar: a value holder that reports each change to its owner, once as a
// property-changed notification and once as a redraw request. It never touches a window itself.
#include "controls/statusbar/PanelOwner.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cw {

enum PanelAlignment : std::int32_t { sbrLeft = 0, sbrCenter = 1, sbrRight = 2 };
enum PanelAutoSize : std::int32_t { sbrNoAutoSize = 0, sbrSpring = 1, sbrContents = 2 };
enum PanelBevel : std::int32_t { sbrNoBevel = 0, sbrInset = 1, sbrRaised = 2 };

// Stems of the panels' persistence keys; PanelKey appends the index and ")".
inline constexpr std::string_view kPanelAlignmentKey = "PanelAlignment(";
inline constexpr std::string_view kPanelAutoSizeKey = "PanelAutoSize(";
inline constexpr std::string_view kPanelBevelKey = "PanelBevel(";
inline constexpr std::string_view kPanelMinWidthKey = "PanelMinWidth(";
inline constexpr std::string_view kPanelTagKey = "PanelTag(";
inline constexpr std::string_view kPanelTextKey = "PanelText(";
inline constexpr std::string_view kPanelToolTipTextKey = "PanelToolTipText(";
inline constexpr std::string_view kPanelVisibleKey = "PanelVisible(";

// "PanelText(" and 12 give "PanelText(12)".
std::string PanelKey(std::string_view stem, std::int16_t index);

class Panel {
public:
    // Setters drop a value out of range silently: nothing stored, notified or redrawn.
    std::int16_t ActualWidth() const { return actualWidth_; }
    std::int32_t Alignment() const { return alignment_; }
    void SetAlignment(std::int32_t value); // sbrLeft..sbrRight
    std::int32_t AutoSize() const { return autoSize_; }
    void SetAutoSize(std::int32_t value); // sbrNoAutoSize..sbrContents
    std::int32_t Bevel() const { return bevel_; }
    void SetBevel(std::int32_t value); // sbrNoBevel..sbrRaised
    std::int16_t Index() const { return index_; }
    std::int16_t MinWidth() const { return minWidth_; }
    void SetMinWidth(std::int16_t value); // 1 or more
    const std::string& Tag() const { return tag_; }
    void SetTag(std::string value);
    const std::string& Text() const { return text_; }
    void SetText(std::string value);
    const std::string& ToolTipText() const { return toolTipText_; }
    void SetToolTipText(std::string value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // For the owner only: no notification, no redraw.
    void SetActualWidth(std::int16_t width) { actualWidth_ = width; }
    void SetParent(PanelOwner* owner) { owner_ = owner; }
    void SetIndex(std::int16_t index); // a negative index is ignored

private:
    void Changed(std::string_view stem, bool movesOthers);

    PanelOwner* owner_ = nullptr; // borrowed: the owner owns its panels
    std::int32_t alignment_ = sbrLeft;
    std::int32_t autoSize_ = sbrNoAutoSize;
    std::int32_t bevel_ = sbrInset;
    bool visible_ = true;
    std::int16_t actualWidth_ = 0;
    std::int16_t index_ = 0;
    std::int16_t minWidth_ = 100;
    std::string tag_;
    std::string text_;
    std::string toolTipText_;
};

} // namespace cw
