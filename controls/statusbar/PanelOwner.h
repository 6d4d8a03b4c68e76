#pragma once
// What a panel needs of the status bar that owns it.
#include <cstdint>
#include <string>

namespace cw {

class PanelOwner {
public:
    // A saved property of a panel changed (its persistence key, e.g. "PanelText(0)").
    virtual void NotifyPropertyChanged(const std::string& key) = 0;
    // Lays out and redraws one panel (its index) or all of them (-1).
    virtual void UpdatePanels(std::int16_t index) = 0;

protected:
    ~PanelOwner() = default;
};

} // namespace cw
