#pragma once
// A top-level window built from its saved design.
//
// Load creates the window (hidden), then its standard controls and components in design order,
// each component with a ComponentSite as its host, started with its saved bag (Component::Start:
// ReadProperties, or InitProperties for an entry without a bag, then Resize), then runs Form_Load.
// Show makes it visible (placed at its first show as the design says); ShowModal runs a message
// loop of its own with the owner disabled until the form is unloaded. Unload runs Form_Unload,
// calls each component's Terminate and destroys the window; the control and component objects stay
// until the next Load or the form's end, so a handler may unload its own form.
//
// Control events reach handlers bound by the name the system gives them, control + "_" + event:
//   On("CommandProcess_Click", ...)            buttons, option buttons, labels, images
//   On("ListItemsCurrent_Click", ...)          the user changed a list's selection
//   On("ListItemsCurrent_DblClick", ...)       lists, labels, images
//   OnKeyDown("ListItemsCurrent_KeyDown", ...) lists: key code (settable: 0 swallows the key)
// Form_Load and Form_Unload are virtual members.
//
// Scale: twips, points and icons are converted at the window's own DPI. When the window moves to
// a screen of another scale (WM_DPICHANGED) it takes the rectangle the system suggests, keeps its
// client area's size in twips, and lays out its controls, fonts, icons and components again.
//
// Layout keys of a design (twips for places and sizes; a value that does not convert is skipped):
//   Form      caption, borderstyle (0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4/5 tool
//             windows), controlbox, minbutton, maxbutton, showintaskbar, startupposition (0
//             left/top, 1 centre over the owner, 2 centre on the screen, 3 system default), left,
//             top, clientwidth, clientheight, font, icon, mousepointer, mouseicon
//   controls  left, top, width, height, tabindex, enabled, visible, caption, font
//   OptionButton value;  ListBox multiselect (0, 1, 2 extended: the default)
//   Label     forecolor, mousepointer (99: mouseicon), mouseicon;  Image picture
//   Line      x1, y1, x2, y2, bordercolor, borderwidth (pixels)
//   components  align (1 top, 2 bottom), left, top, width, height; their own keys in the bag
#include "forms/ComponentHost.h"
#include "forms/ComponentSite.h"
#include "forms/Control.h"
#include "forms/DesignNode.h"
#include "win32/Font.h"
#include "win32/GdiFont.h"
#include "win32/Picture.h"

#include <windows.h>

#include <functional>
#include <map>
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

// Mouse pointer values of forms and labels.
constexpr int kPointerDefault = 0;
constexpr int kPointerHourglass = 11;
constexpr int kPointerCustom = 99; // the mouse icon

class Form {
public:
    using Handler = std::function<void()>;
    // The key code (changeable; 0 swallows the key) and the shift state: 1 Shift, 2 Ctrl, 4 Alt.
    using KeyHandler = std::function<void(int& keyCode, int shift)>;

    // `designName` names the program's design resource that Load() reads.
    explicit Form(std::string designName = {});
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Loads from the design resource; false with LoadError() when it is missing or broken or lacks
    // a control Form_Load asks for, or (without an error) when Form_Load unloaded the form again.
    // Loading a loaded form does nothing.
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
    const std::string& Name() const { return name_; }
    const DesignNode& Design() const { return design_; }
    // The design as it stands: each created component's bag as its WriteProperties gives it now,
    // with the host's size record, and the docking and size a component gave itself; everything
    // else as loaded.
    DesignNode SaveDesign() const;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const Picture& Icon() const { return icon_; }
    void SetIcon(const Picture& icon);
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    BorderStyle GetBorderStyle() const { return borderStyle_; }
    const Font& GetFont() const { return font_; }
    HFONT FontHandle() const { return gdiFont_.Handle(); }
    int Dpi() const { return dpi_; }
    double TwipsPerPixelX() const { return twipsPerPixelX_; }
    double TwipsPerPixelY() const { return twipsPerPixelY_; }
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
    Control* FindControl(std::string_view name) const;
    template <typename T> T& Get(std::string_view name) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    Component* FindComponent(std::string_view name) const;
    template <typename T> T* GetComponent(std::string_view name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }
    // Names and kinds of the created controls and components, in creation order.
    std::vector<ComponentHost::ControlInfo> ControlInfos() const { return infos_; }
    // Keys of component properties changed since Load, as "<component>.<key>".
    const std::vector<std::string>& ChangedProperties() const { return changed_; }

    void On(const std::string& handlerName, Handler handler);
    void OnKeyDown(const std::string& handlerName, KeyHandler handler);

    // The form that owns a window created by Load, or nullptr.
    static Form* FromHwnd(HWND hwnd);

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // A component announced a change of one of its saved properties (also while it loads).
    virtual void OnComponentChanged(const std::string& /*component*/, const std::string& /*key*/) {}
    // The loaded form has been laid out again at another DPI.
    virtual void OnDpiChanged() {}
    // For a designer, before Load.
    void SetUserMode(bool userMode) { userMode_ = userMode; }

private:
    friend class ComponentSite;
    friend class ListBox;
    friend class OptionButton;

    struct ComponentEntry {
        std::unique_ptr<ComponentSite> site; // outlives its component
        std::unique_ptr<Component> component;
    };
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    static void RegisterWindowClass();
    void Reset();
    bool CreateWindowFromDesign(HWND owner);
    void CreateChildren(const DesignNode& parent, Control* container, HWND parentHwnd, int depth);
    void CreateComponent(const DesignNode& entry);
    void ApplyTabOrder();
    void PlaceAtFirstShow();
    void ShowIcons();
    SIZE ClientTwips() const;
    SIZE WindowSizeAt(int dpi) const;
    void Rescale(int dpi, const RECT* suggested);
    void Dock();
    void DockOnce();
    void RefreshCursor();
    void Raise(const Control& control, const char* event);
    void RaiseKeyDown(Control& control, int& keyCode);
    void OptionSelected(OptionButton& option);
    void ComponentPropertyChanged(const std::string& component, const std::string& key);
    Control* ControlByHwnd(HWND hwnd) const;
    void SaveComponents(DesignNode& node) const;
    void OnDestroy();
    void OnPaint();
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::string designName_;
    std::string loadError_;
    DesignNode design_;
    std::string name_;
    HWND hwnd_ = nullptr;
    bool userMode_ = true;
    bool destroying_ = false;
    bool unloading_ = false;
    bool shown_ = false;
    HWND modalOwner_ = nullptr;
    HWND lastFocus_ = nullptr;

    std::string caption_;
    BorderStyle borderStyle_ = BorderStyle::Sizable;
    bool controlBox_ = true, minButton_ = true, maxButton_ = true, showInTaskbar_ = true;
    int startUpPosition_ = 3; // 0 manual, 1 centre over owner, 2 centre on screen, 3 system default
    int left_ = 0, top_ = 0;
    int clientWidth_ = 4800, clientHeight_ = 3600; // twips
    Font font_;
    GdiFont gdiFont_;
    Picture icon_;                // as designed
    Picture bigIcon_, smallIcon_; // as the window shows them, at its DPI
    int mousePointer_ = kPointerDefault;
    Picture mouseIcon_;
    int dpi_ = 96;
    double twipsPerPixelX_ = 15.0, twipsPerPixelY_ = 15.0;

    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<ComponentEntry> components_;
    std::vector<ComponentHost::ControlInfo> infos_;
    std::vector<std::string> changed_;
    std::map<std::string, Handler, NoCaseLess> handlers_;
    std::map<std::string, KeyHandler, NoCaseLess> keyHandlers_;
    int docking_ = 0;
    bool dockAgain_ = false;
};

template <typename T> T& Form::Get(std::string_view name) const {
    T* found = nullptr;
    if constexpr (std::is_base_of_v<Control, T>)
        found = dynamic_cast<T*>(FindControl(name));
    else
        found = dynamic_cast<T*>(FindComponent(name));
    if (!found)
        throw MissingControl("design " + name_ + ": no control " + std::string(name) +
                             " of the kind the window needs");
    return *found;
}

} // namespace cw
