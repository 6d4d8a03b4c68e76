#include "tools/designer/DesignDocument.h"

#include "forms/Component.h"
#include "forms/ComponentFactory.h"
#include "forms/Control.h"
#include "forms/DesignStore.h"
#include "forms/DesignText.h"
#include "fs/FileActions.h"

#include <memory>
#include <type_traits>

namespace cw {
namespace {

void CollectNames(const DesignNode& node, std::vector<std::string>& names) {
    names.push_back(node.name);
    for (const DesignNode& child : node.children)
        CollectNames(child, names);
}

} // namespace

DesignDocument::DesignDocument() = default;

DesignDocument::~DesignDocument() = default;

bool DesignDocument::Open(const std::string& path, HWND owner) {
    std::string text;
    if (!ReadTextFile(path, text)) {
        error_ = path + ": cannot be read";
        return false;
    }
    const DesignReadResult read = ReadDesign(text);
    if (!read.design) {
        error_ = path + ", " + DescribeDesignError(read.error);
        return false;
    }
    if (!Load(*read.design, owner))
        return false;
    owner_ = owner;
    path_ = path;
    text_ = std::move(text);
    saved_ = form_->SaveDesign();
    error_.clear();
    SetModified(false);
    return true;
}

void DesignDocument::Close() {
    form_.reset();
    path_.clear();
    text_.clear();
    saved_ = {};
    SetModified(false);
}

bool DesignDocument::Load(const DesignNode& design, HWND owner) {
    auto form = std::make_unique<DesignForm>();
    // Components announce their values while they load; only later changes are edits.
    form->ComponentChanged = [this](const std::string&, const std::string&) {
        if (!loading_)
            SetModified(true);
    };
    loading_ = true;
    const bool loaded = form->Load(design, owner);
    loading_ = false;
    if (!loaded) {
        error_ = form->LoadError().empty() ? "the window could not be loaded" : form->LoadError();
        return false;
    }
    form_ = std::move(form);
    return true;
}

bool DesignDocument::Save() {
    return SaveAs(path_);
}

bool DesignDocument::SaveAs(const std::string& path) {
    if (!IsOpen() || path.empty())
        return false;
    const DesignNode design = form_->SaveDesign();
    // Nothing changed since the file was read or written: it keeps its bytes and its time.
    if (design == saved_ && path == path_ && FileInfoOf(path)) {
        error_.clear();
        SetModified(false);
        return true;
    }
    std::string text = UpdateDesignText(text_, saved_, design);
    if (!WriteTextFile(path, text)) {
        error_ = path + ": cannot be written";
        return false;
    }
    path_ = path;
    text_ = std::move(text);
    saved_ = design;
    error_.clear();
    SetModified(false);
    return true;
}

std::vector<ComponentHost::ControlInfo> DesignDocument::Components() const {
    std::vector<ComponentHost::ControlInfo> components;
    if (IsOpen())
        for (const auto& info : form_->ControlInfos())
            if (!StandardControlKind(info.kind))
                components.push_back(info);
    return components;
}

Component* DesignDocument::FindComponent(const std::string& name) const {
    return IsOpen() ? form_->FindComponent(name) : nullptr;
}

std::string DesignDocument::FreeName(const std::string& kind) const {
    std::vector<std::string> names;
    CollectNames(form_->Design(), names);
    for (int n = 1;; ++n) {
        const std::string name = kind + std::to_string(n);
        bool taken = false;
        for (const std::string& other : names)
            taken = taken || lstrcmpiA(other.c_str(), name.c_str()) == 0;
        if (!taken)
            return name;
    }
}

std::string DesignDocument::Insert(const std::string& kind, const PropertyBag& layout) {
    if (!IsOpen() || !ComponentFactory::Knows(kind))
        return {};
    DesignNode design = form_->SaveDesign();
    DesignNode& entry = design.children.emplace_back();
    entry.kind = kind;
    entry.name = FreeName(kind);
    entry.properties = layout;
    const std::string name = entry.name;
    if (!Load(design, owner_))
        return {};
    SetModified(true);
    return name;
}

void DesignDocument::SetModified(bool modified) {
    const bool was = modified_;
    modified_ = modified;
    if (was != modified && ModifiedChanged)
        ModifiedChanged();
}

} // namespace cw
