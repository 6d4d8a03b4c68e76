#pragma once
// A standard control on a form: button, option button, frame, label, list box, image or line.
//
// The form creates its controls from the design and owns them. Positions are in twips in the
// coordinates of the container (the form's client area, or the frame that holds the control).
// A control that has no window (a line, or one whose form has been unloaded) accepts every call and
// does nothing with it.
#include "forms/PropertyBag.h"
#include "win32/Font.h"
#include "win32/GdiFont.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cw {

class Form;

enum class ControlKind {
    CommandButton,
    OptionButton,
    Frame,
    Label,
    ListBox,
    Image,
    Line,
    CheckBox,
};

// What a control raises for its form's handlers, which are named control + "_" + event.
enum class Event { Click, DblClick, KeyDown };
const char* EventName(Event event);

// Names of controls, components and kinds match without regard to case.
bool SameName(std::string_view a, std::string_view b);

// The kind named in a design ("CommandButton", ...); nothing for a component's kind.
std::optional<ControlKind> StandardControlKind(std::string_view name);
const char* ControlKindName(ControlKind kind);

class Control {
public:
    Control(ControlKind kind, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    HWND Hwnd() const { return hwnd_; }
    // The frame that holds this control, or nullptr on the form itself.
    Control* Container() const { return container_; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Move(int left, int top, int width, int height);
    int TabIndex() const { return tabIndex_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The control's own font, or nothing when it uses the form's.
    const std::optional<Font>& OwnFont() const { return font_; }
    void SetFocus();

    // Whether this kind of control raises `event`, and the event a WM_COMMAND notification of it
    // raises, if any.
    bool Raises(Event event) const;
    std::optional<Event> EventOf(int notification) const;

protected:
    friend class FormChildren;

    // Reads the kind's own layout values; a value that does not convert is skipped.
    virtual void Configure(const PropertyBag& layout);
    virtual const char* WindowClass() const { return "Button"; }
    virtual DWORD Style() const = 0;
    virtual DWORD ExStyle() const { return 0; }
    virtual void Created() {}
    // The form's DPI changed; the font and the place have followed it.
    virtual void Rescaled() {}

    // Creates the window (none for a line) as a child of `parent`.
    void Create(Form& form, Control* container, HWND parent, int id, const PropertyBag& layout);
    void Detach() { hwnd_ = nullptr; }
    void Reposition();
    // Takes the form's new DPI: the font again at it, then the place.
    void Rescale();
    HFONT FontHandle() const;

    Form* form_ = nullptr;

private:
    ControlKind kind_;
    std::string name_;
    Control* container_ = nullptr;
    HWND hwnd_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int tabIndex_ = -1; // none given: after those with one
    // Percent of the form's growth beyond its design that moves the left and top edges and adds
    // to the width and height.
    int growLeft_ = 0, growTop_ = 0, growWidth_ = 0, growHeight_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    std::string caption_;
    std::optional<Font> font_;
    GdiFont gdiFont_;
};

} // namespace cw
