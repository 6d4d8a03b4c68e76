#pragma once
// The controls and components a form builds from its design, in design order, each component with
// a ComponentSite as its host. Finds them by name or window, draws what the form draws for them
// (lines, label colours, images), passes a new scale on, saves the components' state into a
// design and ends the components with the window. The objects stay until the next build or the
// form's end, so that a handler may unload its own form.
#include "forms/ComponentHost.h"
#include "forms/ComponentSite.h"
#include "forms/Control.h"
#include "forms/DesignNode.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class Component;
class Form;

class FormChildren {
public:
    struct ComponentEntry {
        std::unique_ptr<ComponentSite> site; // outlives its component
        std::unique_ptr<Component> component;
    };

    explicit FormChildren(Form& form);
    ~FormChildren();
    FormChildren(const FormChildren&) = delete;
    FormChildren& operator=(const FormChildren&) = delete;

    void Clear();
    // Creates the children of `design` in `form`'s window, in design order: frames hold theirs,
    // components start with their saved bags. Stops when a component's start takes the window down.
    void Create(const DesignNode& design, HWND form);

    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    // Every control placed again (the form's size changed).
    void Reposition();
    const std::vector<ComponentEntry>& Components() const { return components_; }
    const std::vector<ComponentHost::ControlInfo>& Infos() const { return infos_; }
    // By name, without regard to case; nullptr when there is none.
    Control* FindControl(std::string_view name) const;
    Component* FindComponent(std::string_view name) const;
    Control* ControlByHwnd(HWND hwnd) const;

    // A component announced a change of one of its saved properties.
    void NoteChange(const std::string& component, const std::string& key);
    const std::vector<std::string>& Changes() const { return changed_; }

    // The form's new scale: fonts, places and icons again.
    void Rescale();
    // Writes each created component's bag and size record into its entry of `node`'s tree.
    void SaveComponents(DesignNode& node) const;
    // The window goes: components end, controls let go of their windows.
    void Terminate();
    void Detach();

    // The lines, which have no window: drawn on the form's client area.
    void PaintLines(HWND form, HDC dc) const;
    // WM_CTLCOLORSTATIC and WM_DRAWITEM for the labels and images; nothing for other controls.
    std::optional<LRESULT> LabelColours(HWND control, HDC dc) const;
    bool DrawItem(const DRAWITEMSTRUCT& item) const;

private:
    void CreateChildren(const DesignNode& parent, Control* container, HWND parentHwnd, int depth);
    void CreateComponent(const DesignNode& entry);

    Form& form_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<ComponentEntry> components_;
    std::vector<ComponentHost::ControlInfo> infos_;
    std::vector<std::string> changed_;
};

} // namespace cw
