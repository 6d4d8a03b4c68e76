#include "forms/FormChildren.h"

#include "win32/Trace.h"

#include "forms/CommandButton.h"
#include "forms/Component.h"
#include "forms/ComponentFactory.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Line.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "forms/CheckBox.h"
#include "win32/Twips.h"

#include <exception>

namespace cw {
namespace {

constexpr int kFirstControlId = 1000; // clear of IDOK and IDCANCEL, which the dialog manager sends

std::unique_ptr<Control> MakeControl(ControlKind kind, const std::string& name) {
    switch (kind) {
    case ControlKind::CommandButton:
        return std::make_unique<CommandButton>(name);
    case ControlKind::OptionButton:
        return std::make_unique<OptionButton>(name);
    case ControlKind::Frame:
        return std::make_unique<Frame>(name);
    case ControlKind::Label:
        return std::make_unique<Label>(name);
    case ControlKind::ListBox:
        return std::make_unique<ListBox>(name);
    case ControlKind::Image:
        return std::make_unique<Image>(name);
    case ControlKind::Line:
        return std::make_unique<Line>(name);
    case ControlKind::CheckBox:
        return std::make_unique<CheckBox>(name);
    }
    return nullptr;
}

} // namespace

FormChildren::FormChildren(Form& form) : form_(form) {}

FormChildren::~FormChildren() = default;

void FormChildren::Clear() {
    components_.clear();
    controls_.clear();
    infos_.clear();
    changed_.clear();
}

void FormChildren::Create(const DesignNode& design, HWND form) {
    CreateChildren(design, nullptr, form, 0);
}

void FormChildren::CreateChildren(const DesignNode& parent, Control* container, HWND parentHwnd,
                                  int depth) {
    for (const DesignNode& entry : parent.children) {
        if (!form_.Loaded())
            return;
        const auto kind = StandardControlKind(entry.kind);
        if (!kind) {
            CreateComponent(entry);
            continue;
        }
        std::unique_ptr<Control> control = MakeControl(*kind, entry.name);
        const int id = kFirstControlId + static_cast<int>(controls_.size());
        {
            const TraceStep trace("control", entry.name);
            control->Create(form_, container, parentHwnd, id, entry.properties);
        }
        Control& created = *control;
        infos_.push_back({entry.name, ControlKindName(*kind)});
        controls_.push_back(std::move(control));
        // Only frames hold controls; entries below other controls stay in the design unused.
        if (*kind == ControlKind::Frame && depth < 64)
            CreateChildren(entry, &created, created.Hwnd() ? created.Hwnd() : parentHwnd,
                           depth + 1);
    }
}

void FormChildren::CreateComponent(const DesignNode& entry) {
    if (!ComponentFactory::Knows(entry.kind))
        return; // kept in the design as it is
    const TraceStep trace("component", entry.name);
    infos_.push_back({entry.name, entry.kind});
    ComponentEntry& added = components_.emplace_back();
    added.site = std::make_unique<ComponentSite>(form_, entry);
    try {
        added.component = ComponentFactory::Create(entry.kind, *added.site);
        if (!added.component)
            return;
        added.site->Attach(added.component->Hwnd());
        form_.Dock();
        added.component->Start(entry.hasBag ? &entry.bag : nullptr);
    } catch (const std::exception&) {
        // A component that cannot start leaves its place empty; the window still opens.
    }
}

Control* FormChildren::FindControl(std::string_view name) const {
    for (const auto& c : controls_)
        if (SameName(c->Name(), name))
            return c.get();
    return nullptr;
}

Component* FormChildren::FindComponent(std::string_view name) const {
    for (const ComponentEntry& entry : components_)
        if (entry.component && SameName(entry.site->Name(), name))
            return entry.component.get();
    return nullptr;
}

Control* FormChildren::ControlByHwnd(HWND hwnd) const {
    if (!hwnd)
        return nullptr;
    for (const auto& c : controls_)
        if (c->Hwnd() == hwnd)
            return c.get();
    return nullptr;
}

void FormChildren::NoteChange(const std::string& component, const std::string& key) {
    changed_.push_back(component + "." + key);
}

void FormChildren::Reposition() {
    for (const auto& c : controls_)
        c->Reposition();
}

void FormChildren::Rescale() {
    for (const auto& c : controls_)
        c->Rescale();
    for (ComponentEntry& entry : components_)
        if (entry.component)
            entry.component->DpiChanged();
}

void FormChildren::SaveComponents(DesignNode& node) const {
    for (DesignNode& child : node.children) {
        for (const ComponentEntry& entry : components_) {
            if (!entry.component || !SameName(entry.site->Name(), child.name))
                continue;
            PropertyBag bag;
            entry.component->WriteProperties(bag);
            entry.site->WriteExtender(child.properties);
            bag.SetText("_extentx", std::to_string(TwipsToHimetric(entry.site->Width())));
            bag.SetText("_extenty", std::to_string(TwipsToHimetric(entry.site->Height())));
            child.bag = std::move(bag);
            child.hasBag = true;
        }
        SaveComponents(child);
    }
}

void FormChildren::Terminate() {
    for (ComponentEntry& entry : components_) {
        try {
            if (entry.component)
                entry.component->Terminate();
        } catch (const std::exception&) {
            // Terminate releases what it can; the window goes regardless.
        }
    }
}

void FormChildren::Detach() {
    for (const auto& c : controls_)
        c->Detach();
}

void FormChildren::PaintLines(HWND form, HDC dc) const {
    for (const auto& c : controls_) {
        if (c->Kind() != ControlKind::Line)
            continue;
        POINT origin{0, 0};
        if (const Control* frame = c->Container(); frame && frame->Hwnd())
            MapWindowPoints(frame->Hwnd(), form, &origin, 1);
        static_cast<const Line&>(*c).Draw(dc, origin.x, origin.y);
    }
}

std::optional<LRESULT> FormChildren::LabelColours(HWND control, HDC dc) const {
    const auto* label = dynamic_cast<const Label*>(ControlByHwnd(control));
    if (!label)
        return std::nullopt;
    SetTextColor(dc, ResolveColour(label->ForeColor()));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool FormChildren::DrawItem(const DRAWITEMSTRUCT& item) const {
    const Control* control = ControlByHwnd(item.hwndItem);
    if (const auto* image = dynamic_cast<const Image*>(control)) {
        image->Draw(item);
        return true;
    }
    if (const auto* list = dynamic_cast<const ListBox*>(control)) {
        list->Draw(item);
        return true;
    }
    return false;
}

} // namespace cw
