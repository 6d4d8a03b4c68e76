#pragma once
// Hooks one window: replaces its window procedure with a caller's hook procedure and hangs named
// window properties on it, so that the hook procedure, which receives nothing but the message,
// can find again the procedure it replaced and the control that installed it.
//
// Property values are pointer-sized; a control stores its own address there as a borrowed pointer.
// Dropping the object does not unhook the window: each user calls Destroy itself.
#include <windows.h>

#include <string>
#include <vector>

namespace cw {

class Subclassing {
public:
    bool Active() const { return active_; }

    HWND OwnerHwnd() const { return ownerHwnd_; }
    void SetOwnerHwnd(HWND hwnd) { ownerHwnd_ = hwnd; }

    // Name of the property under which the replaced window procedure is kept.
    const std::string& WindowProc() const { return windowProc_; }
    void SetWindowProc(std::string name) { windowProc_ = std::move(name); }

    // A further property to set on the window at the next successful Create.
    void Add(std::string atom, LONG_PTR handle);
    // Forgets the further properties; those already on the window stay.
    void Clear();

    // Installs the hook; false when the window is already hooked by this object (Active is then
    // true) or the platform refuses (Active false).
    bool Create(WNDPROC callback);
    // Puts the replaced procedure back and removes the properties named now.
    void Destroy();

private:
    bool active_ = false;
    HWND ownerHwnd_ = nullptr;
    std::string windowProc_;
    std::vector<std::string> atoms_;
    std::vector<LONG_PTR> handles_;
    LONG_PTR savedProc_ = 0;
};

// The hook procedures' side of the contract.

// The control whose address was stored under `atom`, borrowed: the caller neither owns nor frees it.
template <typename Control> Control* HookedControl(HWND hwnd, const char* atom) {
    return reinterpret_cast<Control*>(GetPropA(hwnd, atom));
}

// Passes a message on to the procedure that the hook replaced (kept under `windowProc`).
LRESULT CallReplacedProc(HWND hwnd, const char* windowProc, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace cw
