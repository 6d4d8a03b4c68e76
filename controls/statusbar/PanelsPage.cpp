#include "controls/statusbar/PanelsPage.h"

#include <cmath>
#include <string>

namespace cw {
namespace {

// The status bar lays out once, when the page has written every field of a panel, and is never
// left holding its updates back, whatever a setter does.
class HeldUpdates {
public:
    explicit HeldUpdates(StatusBar& bar) : bar_(bar) { bar_.SetPreventUpdate(true); }
    ~HeldUpdates() { bar_.SetPreventUpdate(false); }
    HeldUpdates(const HeldUpdates&) = delete;
    HeldUpdates& operator=(const HeldUpdates&) = delete;

private:
    StatusBar& bar_;
};

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

PanelsPage::PanelsPage() : PropertyPage("Panels", 5880, 3870) {}

void PanelsPage::CreateFields() {
    Add(FieldKind::Label, "LabelIndex", "Index:", 240, 285, 975, 255);
    textIndex_ = Add(FieldKind::TextBox, "TextIndex", "0", 1320, 240, 495, 285);
    hscrollIndex_ = Add(FieldKind::HScrollBar, "HScrollIndex", "", 1815, 240, 495, 285);
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
    // The index changes only through the scroll bar.
    EnableWindow(textIndex_, FALSE);
    SetBackColor(textIndex_, kColourScrollBars);
}

void PanelsPage::Initialize() {
    for (const char* entry : kAlignments)
        AddItem(comboAlignment_, entry);
    for (const char* entry : kAutoSizes)
        AddItem(comboAutosize_, entry);
    for (const char* entry : kBevels)
        AddItem(comboBevel_, entry);
}

StatusBar* PanelsPage::Bar() const {
    const auto& selected = SelectedControls();
    return selected.empty() ? nullptr : dynamic_cast<StatusBar*>(selected.front());
}

std::int16_t PanelsPage::IndexShown() const {
    return LeadingNumber16(Text(textIndex_)).value_or(0);
}

void PanelsPage::EnableFields(bool enabled) {
    for (const auto& [field, kind] : Fields()) {
        if (field == textIndex_)
            continue;
        if (kind == FieldKind::TextBox || kind == FieldKind::ComboBox)
            SetBackColor(field, enabled ? kColourWindowBackground : kColourScrollBars);
        else if (kind == FieldKind::CheckBox)
            SetBackColor(field, enabled ? kColourButtonFace : kColourScrollBars);
        EnableWindow(field, enabled);
    }
    if (!enabled)
        EnableWindow(textIndex_, FALSE);
}

void PanelsPage::SelectionChanged() {
    StatusBar* bar = Bar();
    if (!bar || !bar->Panel(0)) {
        EnableFields(false);
        return;
    }
    // A page disabled for an earlier selection without panels can edit this one.
    EnableFields(true);
    const auto last = static_cast<std::int16_t>(bar->Count() - 1);
    SetScrollMax(hscrollIndex_, last);
    if (IndexShown() > last || IndexShown() < 0) {
        SetText(textIndex_, std::to_string(last));
        SetScrollValue(hscrollIndex_, last);
    }
    Load();
    SetChanged(false);
}

void PanelsPage::Load() {
    StatusBar* bar = Bar();
    const Panel* panel = bar ? bar->Panel(IndexShown()) : nullptr;
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
    StatusBar* bar = Bar();
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

void PanelsPage::Change(HWND field) {
    if (field == hscrollIndex_) {
        // The fields still show the panel named by the old index: pending edits go there first.
        // With none pending the panel is left alone, so that looking through the panels does not
        // mark the design as modified.
        if (Changed())
            ApplyChanges();
        SetText(textIndex_, std::to_string(ScrollValue(hscrollIndex_)));
        Load();
        SetChanged(false);
    } else if (field == textText_ || field == textMinwidth_ || field == textTooltiptext_ ||
               field == textTag_) {
        SetChanged(true);
    }
}

void PanelsPage::Click(HWND field) {
    if (field == comboAlignment_ || field == comboAutosize_ || field == comboBevel_ ||
        field == checkVisible_)
        SetChanged(true);
}

} // namespace cw
