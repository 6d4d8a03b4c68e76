#pragma once
// A top-level window built from its saved design.
//
// Load creates the window (hidden), then its standard controls and components in design order,
// each component with a ComponentSite as its host, started with its saved bag (Component::Start:
// ReadProperties, or InitProperties for an entry without a bag, then Resize), checks the form's
// handler table against the design, then runs Form_Load. Show makes it visible (placed at its
// first show as the design says); ShowModal runs a message loop of its own with the owner disabled
// until the form is unloaded. Unload runs Form_Unload, calls each component's Terminate and
// destroys the window; the control and component objects stay until the next Load or the form's
// end, so a handler may unload its own form.
//
// Handlers are members of the derived form, named control + "_" + event and bound in its
// constructor by a table, so that a misspelt member does not compile:
//   BindEvents<FormX>({
//       {"CommandProcess", Event::Click, &FormX::CommandProcess_Click},
//       {"ListItemsCurrent", Event::DblClick, &FormX::ListItemsCurrent_DblClick},
//       {"ListItemsCurrent", Event::KeyDown, &FormX::ListItemsCurrent_KeyDown},
//   });
// Click: buttons, option buttons, labels, images, and lists when the user changes the selection;
// DblClick: lists, labels, images; KeyDown: lists, with the key code (settable: 0 swallows the
// key) and the shift state. A control of the table that the design lacks, or that does not raise
// the event, fails the load, naming it. Form_Load and Form_Unload are virtual members.
//
// The form's parts, each with its own state:
//   FormWindow    the top-level window: its class, styles, caption, font and icons
//   FormChildren  the controls and components built from the design, drawing them, saving them
//   FormLayout    twips and DPI, the first show's place, the size after a change of scale, docking
//   FormKeyboard  tab order, option groups, dialog keys, the focus given back on activation
//   FormPointer   the mouse pointer over the form and its labels
//   FormEvents    the handler table: checked at load, control events routed to the members
// Form itself loads, shows, runs and unloads the window and hands its messages to the parts.
//
// Scale: twips, points and icons are converted at the window's own DPI. When the window moves to
// a screen of another scale (WM_DPICHANGED) it takes the rectangle the system suggests, keeps its
// client area's size in twips, and lays out its controls, fonts, icons and components again. At
// its first show and after every change of scale the window is placed, and shrunk if need be,
// inside its monitor's work area.
//
// Layout keys of a design (twips for places and sizes; a value that does not convert is skipped):
//   Form      caption, borderstyle (0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4/5 tool
//             windows), controlbox, minbutton, maxbutton, showintaskbar, startupposition (0
//             left/top, 1 centre over the owner, 2 centre on the screen, 3 system default), left,
//             top, clientwidth, clientheight, font, icon, mousepointer, mouseicon
//   controls  left, top, width, height, tabindex, enabled, visible, caption, font, growleft,
//             growtop, growwidth, growheight (percent of the client area's growth beyond the
//             design that moves the edge or adds to the size; a sizable window is never dragged
//             smaller than its design, and is shrunk only to fit its monitor's work area)
//   OptionButton value;  ListBox multiselect (0, 1, 2 extended: the default), icons
//   Label     forecolor, mousepointer (99: mouseicon), mouseicon;  Image picture
//   Line      x1, y1, x2, y2, bordercolor, borderwidth (pixels)
//   components  align (1 top, 2 bottom), left, top, width, height; their own keys in the bag
#include "forms/ComponentHost.h"
#include "forms/Control.h"
#include "forms/DesignNode.h"
#include "forms/FormChildren.h"
#include "forms/FormEvents.h"
#include "forms/FormKeyboard.h"
#include "forms/FormLayout.h"
#include "forms/FormPointer.h"
#include "forms/FormWindow.h"
#include "win32/Font.h"
#include "win32/Picture.h"

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace cw {

class Component;
class OptionButton;

// Thrown by Form::Get for a control the design lacks; Load reports it as its error.
struct MissingControl : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Form {
public:
    // `designName` names the program's design resource that Load() reads.
    explicit Form(std::string designName = {});
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Loads from the design resource; false with LoadError() when it is missing or broken or lacks
    // a control that the handler table or Form_Load asks for, or (without an error) when Form_Load
    // unloaded the form again. Loading a loaded form does nothing.
    bool Load(HWND owner = nullptr);
    bool Load(const DesignNode& design, HWND owner = nullptr);
    const std::string& LoadError() const { return loadError_; }
    bool Loaded() const { return hwnd_ != nullptr && !destroying_; }
    void Show();
    void ShowModal(HWND owner);
    void Unload();
    // Dispatches messages, with tab navigation among the form's controls, until the form is
    // unloaded (0) or WM_QUIT arrives (its code).
    int RunMessageLoop();

    HWND Hwnd() const { return hwnd_; }
    const std::string& Name() const { return design_.name; }
    const DesignNode& Design() const { return design_; }
    // The design as it stands: each created component's bag as its WriteProperties gives it now,
    // with the host's size record, and the docking and size a component gave itself; everything
    // else as loaded.
    DesignNode SaveDesign() const;

    const std::string& Caption() const { return window_.Caption(); }
    void SetCaption(const std::string& caption) { window_.SetCaption(hwnd_, caption); }
    const Picture& Icon() const { return window_.Icon(); }
    void SetIcon(const Picture& icon) { window_.SetIcon(hwnd_, icon, layout_.Dpi()); }
    int MousePointer() const { return pointer_.Pointer(); }
    void SetMousePointer(int pointer) { pointer_.Set(hwnd_, pointer); }
    BorderStyle GetBorderStyle() const { return window_.GetBorderStyle(); }
    const Font& GetFont() const { return window_.GetFont(); }
    HFONT FontHandle() const { return window_.FontHandle(); }
    int Dpi() const { return layout_.Dpi(); }
    // The client area's twips beyond the design's size (negative where shrunk to fit a screen).
    SIZE Growth() const { return layout_.Growth(); }
    double TwipsPerPixelX() const { return layout_.TwipsPerPixelX(); }
    double TwipsPerPixelY() const { return layout_.TwipsPerPixelY(); }
    int ClientWidth() const;  // pixels
    int ClientHeight() const; // pixels
    // Width of a text in the form's font, in twips.
    int TextWidth(const std::string& text) const;
    // True in the running program; false in a designer, whose components then show their
    // design-time looks and touch no menu.
    bool UserMode() const { return userMode_; }

    // Controls and components by name (without regard to case). Get throws MissingControl, naming
    // it, when the design has no such control of that kind: a form resolves the controls its code
    // uses in Form_Load, so that a damaged design fails to load instead of running without them.
    Control* FindControl(std::string_view name) const { return children_.FindControl(name); }
    template <typename T> T& Get(std::string_view name) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return children_.Controls(); }
    Component* FindComponent(std::string_view name) const { return children_.FindComponent(name); }
    template <typename T> T* GetComponent(std::string_view name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }
    // Names and kinds of the created controls and components, in creation order.
    std::vector<ComponentHost::ControlInfo> ControlInfos() const { return children_.Infos(); }
    // Keys of component properties changed since Load, as "<component>.<key>".
    const std::vector<std::string>& ChangedProperties() const { return children_.Changes(); }

    // The form that owns a window created by Load, or nullptr.
    static Form* FromHwnd(HWND hwnd);

    // The button that Enter presses where the focus is on no other button; null: none.
    void SetDefaultButton(Control* button);

protected:
    // Binds the derived form's handlers (see above); call it from the derived constructor.
    template <typename F> void BindEvents(std::initializer_list<EventBinding<F>> table);

    // As Load begins, before the window exists: work that needs no window may start here and go on
    // while the window and its controls are made.
    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // A component announced a change of one of its saved properties (also while it loads).
    virtual void OnComponentChanged(const std::string& /*component*/, const std::string& /*key*/) {}
    // The loaded form has been laid out again at another DPI.
    virtual void OnDpiChanged() {}
    // The form's own messages (WM_APP and above) and the system's changes of settings and display
    // (WM_SETTINGCHANGE, WM_DISPLAYCHANGE), which reach the form before its default handling.
    virtual void OnMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    // At the first show: true when the form has placed its window itself (a place kept from an
    // earlier start), false to have it placed as the design says.
    virtual bool PlaceKept() { return false; }
    // For a designer, before Load.
    void SetUserMode(bool userMode) { userMode_ = userMode; }

private:
    friend class ComponentSite;
    friend class FormChildren;
    friend class ListBox;
    friend class OptionButton;

    bool CreateWindowFromDesign(HWND owner);
    void Rescale(int dpi, const RECT* suggested);
    void Dock() { layout_.Dock(hwnd_); }
    void RaiseKeyDown(Control& control, int& keyCode);
    void OptionSelected(OptionButton& option);
    void ComponentPropertyChanged(const std::string& component, const std::string& key);
    void OnPaint();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    std::string designName_;
    std::string loadError_;
    DesignNode design_;
    HWND hwnd_ = nullptr;
    bool userMode_ = true;
    bool destroying_ = false;
    bool unloading_ = false;
    bool shown_ = false;
    HWND modalOwner_ = nullptr;
    HWND defaultButton_ = nullptr;

    FormWindow window_;
    FormChildren children_{*this};
    FormLayout layout_{children_};
    FormKeyboard keyboard_;
    FormPointer pointer_;
    FormEvents events_;
};

template <typename T> T& Form::Get(std::string_view name) const {
    T* found = nullptr;
    if constexpr (std::is_base_of_v<Control, T>)
        found = dynamic_cast<T*>(FindControl(name));
    else
        found = dynamic_cast<T*>(FindComponent(name));
    if (!found)
        throw MissingControl("design " + Name() + ": no control " + std::string(name) +
                             " of the kind the window needs");
    return *found;
}

template <typename F> void Form::BindEvents(std::initializer_list<EventBinding<F>> table) {
    static_assert(std::is_base_of_v<Form, F>);
    F& self = static_cast<F&>(*this);
    for (const EventBinding<F>& row : table) {
        if (row.key)
            events_.Bind(row.control, row.event, [&self, key = row.key](int& keyCode, int shift) {
                (self.*key)(keyCode, shift);
            });
        else
            events_.Bind(row.control, row.event,
                         [&self, plain = row.plain](int&, int) { (self.*plain)(); });
    }
}

} // namespace cw
