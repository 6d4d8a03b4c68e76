#include "subclass/Subclassing.h"

namespace cw {

void Subclassing::Add(std::string atom, LONG_PTR handle) {
    atoms_.push_back(std::move(atom));
    handles_.push_back(handle);
}

void Subclassing::Clear() {
    atoms_.clear();
    handles_.clear();
}

bool Subclassing::Create(WNDPROC callback) {
    active_ = false;
    if (savedProc_ != 0) {
        active_ = true;
        return false;
    }
    savedProc_ = SetWindowLongPtrA(ownerHwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(callback));
    if (savedProc_ == 0)
        return false;
    SetPropA(ownerHwnd_, windowProc_.c_str(), reinterpret_cast<HANDLE>(savedProc_));
    for (size_t i = 0; i < atoms_.size(); ++i)
        SetPropA(ownerHwnd_, atoms_[i].c_str(), reinterpret_cast<HANDLE>(handles_[i]));
    active_ = true;
    return true;
}

void Subclassing::Destroy() {
    active_ = false;
    if (savedProc_ == 0)
        return;
    SetWindowLongPtrA(ownerHwnd_, GWLP_WNDPROC, savedProc_);
    RemovePropA(ownerHwnd_, windowProc_.c_str());
    for (const std::string& atom : atoms_)
        RemovePropA(ownerHwnd_, atom.c_str());
    savedProc_ = 0;
}

LRESULT CallReplacedProc(HWND hwnd, const char* windowProc, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, windowProc));
    if (!previous)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

} // namespace cw
