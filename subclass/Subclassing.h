#pragma once
// Hooks one window: puts a caller's hook procedure into the window's chain of procedures, so that
// the hook procedure, which receives nothing but the message, can pass the message on to the
// procedure it replaced and find the control that installed it.
//
// Each hook is its own link in the chain (a WindowHook, so its procedure runs behind the exception
// barrier) and keeps its own replaced procedure and control values, so any number of hooks on one
// window work and come off in any order. The pairs given with Add
// also hang on the window as named properties, for finding a control from outside; with several
// hooks under one name the property holds the latest. Property values are pointer-sized; a
// control stores its own address there as a borrowed pointer.
//
// Dropping the object does not unhook the window: the link stays, owned by the window, until the
// window goes. Each user calls Destroy itself.
#include <windows.h>

#include <string>
#include <vector>

namespace cw {

class Subclassing {
public:
    Subclassing() = default;
    ~Subclassing();
    Subclassing(const Subclassing&) = delete;
    Subclassing& operator=(const Subclassing&) = delete;

    bool Active() const { return active_; }

    HWND OwnerHwnd() const { return ownerHwnd_; }
    void SetOwnerHwnd(HWND hwnd) { ownerHwnd_ = hwnd; }

    // The hook's name, kept for its user. Each hook being its own link, nothing needs the name to
    // find the procedure a hook replaced.
    const std::string& WindowProc() const { return windowProc_; }
    void SetWindowProc(std::string name) { windowProc_ = std::move(name); }

    // A further pair for the hook procedure (and a window property) from the next successful
    // Create on.
    void Add(std::string atom, LONG_PTR handle);
    // Forgets the further pairs; an installed hook keeps those it was created with.
    void Clear();

    // Installs the hook; false when this object has hooked a window already (Active is then true)
    // or the window cannot be hooked from here (Active false).
    bool Create(WNDPROC callback);
    // Takes this hook out of the chain and removes the properties it set that still hold its
    // values. The other hooks on the window stay as they are.
    void Destroy();

    struct Link; // this hook's place in the window's chain

private:
    bool active_ = false;
    HWND ownerHwnd_ = nullptr;
    std::string windowProc_;
    std::vector<std::string> atoms_;
    std::vector<LONG_PTR> handles_;
    Link* link_ = nullptr; // in the window's chain while hooked; the window frees it if it goes
};

// The hook procedures' side of the contract. Called from a hook procedure, both act for the hook
// whose procedure runs, whatever other hooks the window has.

// The value stored with `atom` (a control's address, borrowed: the caller neither owns nor frees
// it). Outside a hook procedure: the window property of that name.
LONG_PTR HookedValue(HWND hwnd, const char* atom);
template <typename Control> Control* HookedControl(HWND hwnd, const char* atom) {
    return reinterpret_cast<Control*>(HookedValue(hwnd, atom));
}

// Passes a message on to the procedure that the running hook replaced: the next hook in the chain
// or the window's own procedure.
LRESULT CallReplacedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace cw
