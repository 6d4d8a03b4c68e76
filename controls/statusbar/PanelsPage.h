#pragma once
// The "Panels" property page of a status bar: edits one panel at a time, chosen with the index
// scroll bar, through the status bar's public members only.
#include "controls/statusbar/StatusBar.h"
#include "forms/IndexedItemsPage.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace cw {

// The whole number a MinWidth text begins with (blanks, a sign, digits, a fraction rounded half to
// even), 0 when it begins with none; nothing when that number does not fit 16 bits.
std::optional<std::int16_t> LeadingNumber16(std::string_view text);

class PanelsPage : public IndexedItemsPage {
public:
    PanelsPage();

    // Fills the three combo boxes.
    void Initialize() override;
    // Writes the fields into the panel shown, then redraws the status bar once.
    void ApplyChanges() override;

protected:
    void CreateItemFields() override;
    std::int16_t ItemCount() const override;
    void LoadItem(std::int16_t index) override;
    // Its check box takes the scroll-bar colour too while disabled.
    void EnableFields(bool enabled) override;

private:
    HWND textText_ = nullptr, textMinwidth_ = nullptr, comboAlignment_ = nullptr,
         comboAutosize_ = nullptr, comboBevel_ = nullptr, checkVisible_ = nullptr,
         textTooltiptext_ = nullptr, textTag_ = nullptr;
};

} // namespace cw
