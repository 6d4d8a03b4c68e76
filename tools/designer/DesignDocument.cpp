#include "tools/designer/DesignDocument.h"

#include "forms/Component.h"
#include "forms/ComponentFactory.h"
#include "forms/Control.h"
#include "forms/DesignStore.h"
#include "forms/DesignText.h"

#include <memory>
#include <type_traits>

namespace cw {
namespace {

// The comment and blank lines before the design begins, exactly as the file has them.
std::string Header(const std::string& text) {
    size_t end = 0;
    while (end < text.size()) {
        size_t first = end;
        while (first < text.size() && (text[first] == ' ' || text[first] == '\t'))
            ++first;
        const size_t next = text.find('\n', end);
        const bool comment = first < text.size() && text[first] == '#';
        const bool blank = first == text.size() || text[first] == '\r' || text[first] == '\n';
        if (!comment && !blank)
            break;
        end = next == std::string::npos ? text.size() : next + 1;
    }
    return text.substr(0, end);
}

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
    header_ = Header(text);
    crlf_ = text.find("\r\n") != std::string::npos;
    error_.clear();
    SetModified(false);
    return true;
}

void DesignDocument::Close() {
    form_.reset();
    path_.clear();
    header_.clear();
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
    std::string design = WriteDesign(form_->SaveDesign());
    if (crlf_) {
        std::string converted;
        for (const char c : design)
            converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
        design = std::move(converted);
    }
    if (!WriteTextFile(path, header_ + design)) {
        error_ = path + ": cannot be written";
        return false;
    }
    path_ = path;
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
