#include "controls/statusbar/PanelsPage.h"

#include <cmath>
#include <string>

namespace cw {
namespace {

constexpr const char* kAlignments[] = {"0 - sbrLeft", "1 - sbrCenter", "2 - sbrRight"};
constexpr const char* kAutoSizes[] = {"0 - sbrNoAutoSize", "1 - sbrSpring", "2 - sbrContents"};
constexpr const char* kBevels[] = {"0 - sbrNoBevel", "1 - sbrInset", "2 - sbrRaised"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::int16_t> LeadingNumber16(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    double value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    const double rounded = std::nearbyint(negative ? -value : value); // halves to the even one
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

PanelsPage::PanelsPage() : IndexedItemsPage("Panels", 5880, 3870) {}

void PanelsPage::CreateItemFields() {
    Add(FieldKind::Label, "LabelText", "Text:", 240, 675, 975, 255);
    textText_ = Add(FieldKind::TextBox, "TextText", "", 1320, 630, 4335, 285);
    Add(FieldKind::Label, "LabelMinwidth", "MinWidth:", 240, 1065, 975, 255);
    textMinwidth_ = Add(FieldKind::TextBox, "TextMinwidth", "", 1320, 1020, 615, 285);
    Add(FieldKind::Label, "LabelAlignment", "Alignment:", 240, 1455, 975, 255);
    comboAlignment_ = Add(FieldKind::ComboBox, "ComboAlignment", "", 1320, 1395, 1455, 315);
    Add(FieldKind::Label, "LabelAutosize", "AutoSize:", 240, 1845, 975, 255);
    comboAutosize_ = Add(FieldKind::ComboBox, "ComboAutosize", "", 1320, 1785, 1455, 315);
    Add(FieldKind::Label, "LabelBevel", "Bevel:", 240, 2235, 975, 255);
    comboBevel_ = Add(FieldKind::ComboBox, "ComboBevel", "", 1320, 2175, 1455, 315);
    checkVisible_ = Add(FieldKind::CheckBox, "CheckVisible", "Visible:", 210, 2610, 1305, 255);
    Add(FieldKind::Label, "LabelTooltiptext", "ToolTipText:", 240, 3015, 975, 255);
    textTooltiptext_ = Add(FieldKind::TextBox, "TextTooltiptext", "", 1320, 2970, 4335, 285);
    Add(FieldKind::Label, "LabelTag", "Tag:", 240, 3405, 975, 255);
    textTag_ = Add(FieldKind::TextBox, "TextTag", "", 1320, 3360, 4335, 285);
}

void PanelsPage::Initialize() {
    for (const char* entry : kAlignments)
        AddItem(comboAlignment_, entry);
    for (const char* entry : kAutoSizes)
        AddItem(comboAutosize_, entry);
    for (const char* entry : kBevels)
        AddItem(comboBevel_, entry);
}

std::int16_t PanelsPage::ItemCount() const {
    const StatusBar* bar = Selected<StatusBar>();
    return bar && bar->Panel(0) ? bar->Count() : std::int16_t{0};
}

void PanelsPage::EnableFields(bool enabled) {
    IndexedItemsPage::EnableFields(enabled);
    SetBackColor(checkVisible_, enabled ? kColourButtonFace : kColourScrollBars);
}

void PanelsPage::LoadItem(std::int16_t index) {
    const StatusBar* bar = Selected<StatusBar>();
    const Panel* panel = bar ? bar->Panel(index) : nullptr;
    if (!panel)
        return;
    SetText(textText_, panel->Text());
    SetText(textMinwidth_, std::to_string(panel->MinWidth()));
    SetListIndex(comboAlignment_, panel->Alignment());
    SetListIndex(comboAutosize_, panel->AutoSize());
    SetListIndex(comboBevel_, panel->Bevel());
    SetValue(checkVisible_, panel->Visible() ? 1 : 0);
    SetText(textTooltiptext_, panel->ToolTipText());
    SetText(textTag_, panel->Tag());
}

void PanelsPage::ApplyChanges() {
    StatusBar* bar = Selected<StatusBar>();
    const std::int16_t index = IndexShown();
    Panel* panel = bar ? bar->Panel(index) : nullptr;
    if (!panel)
        return;
    {
        const HeldUpdates held(*bar);
        panel->SetText(Text(textText_));
        // A number too large for a width is refused like any other width the panel refuses.
        if (const auto width = LeadingNumber16(Text(textMinwidth_)))
            panel->SetMinWidth(*width);
        panel->SetAlignment(ListIndex(comboAlignment_));
        panel->SetAutoSize(ListIndex(comboAutosize_));
        panel->SetBevel(ListIndex(comboBevel_));
        panel->SetVisible(Value(checkVisible_) == 1);
        panel->SetToolTipText(Text(textTooltiptext_));
        panel->SetTag(Text(textTag_));
    }
    bar->UpdatePanels(index);
}

} // namespace cw
