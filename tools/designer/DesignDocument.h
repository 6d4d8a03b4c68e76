#pragma once
// A saved design opened for editing: its window loaded in design mode, whether it has changes
// not yet saved, and writing it back.
//
// Saving changes the file's lines of what was edited (each component's properties as they are
// now, only the values that differ from their defaults) and keeps every other line as the file
// had it: comments and blank lines where they stand, keys and entries the designer does not
// know, the line ends. An edit shows in a diff as the keys it changed; a design with nothing
// changed is not written at all.
#include "forms/ComponentHost.h"
#include "tools/designer/DesignForm.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cw {

class Component;

class DesignDocument {
public:
    DesignDocument();
    ~DesignDocument();
    DesignDocument(const DesignDocument&) = delete;
    DesignDocument& operator=(const DesignDocument&) = delete;

    // Reads the design file and loads its window, hidden, owned by `owner`. False with Error()
    // when the file cannot be read or holds no window's design; the open design then stays.
    bool Open(const std::string& path, HWND owner = nullptr);
    void Close();
    bool IsOpen() const { return form_ && form_->Loaded(); }
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }
    bool Modified() const { return modified_; }

    // Writes the design to its file (or to `path`, which it then belongs to). False with Error()
    // when it cannot be written; the file is then left as it was.
    bool Save();
    bool SaveAs(const std::string& path);

    // The window being designed (valid while open; a new one after Insert).
    DesignForm& Window() const { return *form_; }
    // Names and kinds of the design's components, in creation order.
    std::vector<ComponentHost::ControlInfo> Components() const;
    Component* FindComponent(const std::string& name) const;

    // Places a new component of a registered kind, named after its kind and a number
    // ("StatusBar1"), with the given layout; it starts from its InitProperties. The window is
    // loaded anew, hidden. Returns the new name, or "" for a kind nobody registered.
    std::string Insert(const std::string& kind, const PropertyBag& layout = {});

    // Modified() changed.
    std::function<void()> ModifiedChanged;

private:
    bool Load(const DesignNode& design, HWND owner);
    void SetModified(bool modified);
    std::string FreeName(const std::string& kind) const;

    std::unique_ptr<DesignForm> form_;
    HWND owner_ = nullptr;
    std::string path_;
    std::string error_;
    std::string text_; // the file's text as last read or written
    DesignNode saved_; // the design that text holds, as the window writes it
    bool modified_ = false;
    bool loading_ = false;
};

} // namespace cw
