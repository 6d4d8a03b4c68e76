#pragma once
// A design-time property page: a window of fixed size whose fields edit the first of the
// components selected in a designer.
//
// A host (a designer's property sheet, or a test) creates the page on a parent window (Create,
// which ends with Initialize), hands it the selection, calls SelectionChanged when it shows the
// page for that selection, ApplyChanges when the user applies the edits and Terminate before the
// page goes. The page sets Changed when there are edits to apply; OnChanged tells the host.
//
// Fields are laid out in twips and raise the events a page handles, also when the page itself
// sets them, so that loading a page behaves like typing into it:
//   text box     Change  (its text changed)
//   scroll bar   Change  (the user moved its value; setting it from the page raises nothing)
//   combo box    Click   (an entry was chosen, or the page set the position)
//   check box    Click   (the user ticked it, or the page set the value)
#include "forms/Component.h"
#include "win32/Colour.h"
#include "win32/GdiFont.h"
#include "win32/Handles.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace cw {

// Background colours of fields: the window colour of an editable box and the scroll-bar colour
// that marks a disabled one.
constexpr Colour kColourWindowBackground = 0x80000005;
constexpr Colour kColourScrollBars = 0x80000000;
constexpr Colour kColourButtonFace = 0x8000000F;

class PropertyPage {
public:
    PropertyPage(std::string caption, int widthTwips, int heightTwips);
    virtual ~PropertyPage();
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    const std::string& Caption() const { return caption_; }
    int WidthTwips() const { return widthTwips_; }
    int HeightTwips() const { return heightTwips_; }

    // Makes the page's window at (x, y) pixels on `parent`, its fields, and runs Initialize.
    // False when the window cannot be made (or exists already).
    bool Create(HWND parent, int x = 0, int y = 0);
    HWND Hwnd() const { return hwnd_; }

    // The components the page edits; pages work on the first one only.
    void SetSelectedControls(std::vector<Component*> selected) { selected_ = std::move(selected); }
    const std::vector<Component*>& SelectedControls() const { return selected_; }

    bool Changed() const { return changed_; }
    void SetChanged(bool changed);
    std::function<void(bool changed)> OnChanged;

    virtual void Initialize() {}
    virtual void SelectionChanged() {}
    virtual void ApplyChanges() {}
    virtual void Terminate() {}

    // A field by its name ("TextText"), for hosts and tests that drive it; nullptr if none.
    HWND Field(std::string_view name) const;
    Colour BackColor(std::string_view name) const;

protected:
    enum class FieldKind { Label, TextBox, ComboBox, CheckBox, HScrollBar };

    // Adds a field in tab order; position and size in twips.
    HWND Add(FieldKind kind, std::string name, const std::string& caption, int left, int top,
             int width, int height);
    virtual void CreateFields() = 0;
    virtual void Change(HWND /*field*/) {}
    virtual void Click(HWND /*field*/) {}

    static std::string Text(HWND field);
    void SetText(HWND field, const std::string& text);
    void AddItem(HWND combo, const std::string& text);
    static int ListIndex(HWND combo);
    void SetListIndex(HWND combo, int index);
    static int Value(HWND check); // 0 clear, 1 ticked
    void SetValue(HWND check, int value);
    static int ScrollValue(HWND bar);
    static void SetScrollMax(HWND bar, int max);
    static void SetScrollValue(HWND bar, int value);
    void SetBackColor(HWND field, Colour colour);
    // Every field of the page, in tab order, with its kind.
    std::vector<std::pair<HWND, FieldKind>> Fields() const;

private:
    struct FieldEntry {
        std::string name;
        FieldKind kind;
        HWND hwnd;
        Colour backColor;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    const FieldEntry* Find(HWND field) const;
    LRESULT FieldColours(HWND field, HDC dc);
    HBRUSH Brush(Colour colour);
    void Scrolled(HWND bar, int code);

    std::string caption_;
    int widthTwips_, heightTwips_;
    HWND hwnd_ = nullptr;
    std::vector<Component*> selected_;
    bool changed_ = false;
    std::vector<FieldEntry> fields_;
    bool settingText_ = false; // the page raises Change itself for the text it sets
    GdiFont font_;
    int dpi_ = 96;
    std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
};

} // namespace cw
