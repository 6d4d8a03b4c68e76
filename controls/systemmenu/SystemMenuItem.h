#pragma once
// One command that a SystemMenu control adds to its window's system menu.
//
// The control owns its items; an item lives as long as the control keeps it in its list (lowering
// the control's Count discards the items beyond it, so do not keep pointers across that).
#include <cstdint>
#include <string>

namespace cw {

class SystemMenu;

enum SystemMenuItemStyle : std::int32_t { smDefault = 0, smSeparator = 1 };

class SystemMenuItem {
public:
    // Every setter stores its value, reports the change to the control and refreshes this item's
    // menu entry; Style refuses values other than smDefault and smSeparator without a word.
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::int32_t Style() const { return style_; }
    void SetStyle(std::int32_t style);
    const std::string& Tag() const { return tag_; }
    void SetTag(std::string tag);
    const std::string& Text() const { return text_; }
    void SetText(std::string text);

    // Position in the control's list, which is also the entry's menu command number.
    std::int16_t Index() const { return index_; }

private:
    friend class SystemMenu;
    void SetParent(SystemMenu* parent) { parent_ = parent; }
    void SetIndex(std::int16_t index);
    void Changed(const char* name);

    SystemMenu* parent_ = nullptr; // borrowed: the control owns the item
    std::int32_t style_ = smDefault;
    bool checked_ = false;
    bool enabled_ = true;
    std::int16_t index_ = 0;
    std::string tag_;
    std::string text_;
};

} // namespace cw
