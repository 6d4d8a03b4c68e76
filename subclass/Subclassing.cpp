#include "subclass/Subclassing.h"

#include "win32/WindowHook.h"

#include <utility>

namespace cw {

// One hook in a window's chain: what its hook procedure needs, kept apart from the Subclassing
// object so that the window can still run it when the object is dropped without Destroy.
struct Subclassing::Link {
    HWND hwnd;
    WNDPROC callback;
    std::vector<std::pair<std::string, LONG_PTR>> pairs; // as set on the window at Create
    Subclassing* owner;                                  // null once the object is gone
    WindowHook hook;
    int running = 0;      // calls of the hook procedure under way
    bool removed = false; // out of the chain; freed when the last call returns

    // Takes the link out of the chain and tells its object; whoever calls this frees the link
    // once its procedure no longer runs.
    void Unhook() {
        hook.Unhook();
        // Another hook may have set its own value under the same name since: that one stays.
        for (const auto& [atom, handle] : pairs)
            if (reinterpret_cast<LONG_PTR>(GetPropA(hwnd, atom.c_str())) == handle)
                RemovePropA(hwnd, atom.c_str());
        if (owner) {
            owner->link_ = nullptr;
            owner->active_ = false;
            owner = nullptr;
        }
        removed = true;
    }

    LRESULT Run(UINT msg, WPARAM wParam, LPARAM lParam);
};

namespace {

// The innermost hook procedure running on this thread: the one that calls CallReplacedProc.
thread_local Subclassing::Link* current = nullptr;

} // namespace

LRESULT Subclassing::Link::Run(UINT msg, WPARAM wParam, LPARAM lParam) {
    struct Running {
        Link* link;
        Link* outer;
        explicit Running(Link* l) : link(l), outer(std::exchange(current, l)) { ++link->running; }
        ~Running() {
            current = outer;
            if (--link->running == 0 && link->removed)
                delete link;
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    } run(this);
    const LRESULT result = callback(hwnd, msg, wParam, lParam);
    // The window goes: its links go with it, and their objects learn that nothing is hooked.
    if (msg == WM_NCDESTROY && !removed)
        Unhook();
    return result;
}

Subclassing::~Subclassing() {
    if (link_)
        link_->owner = nullptr;
}

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
    if (link_) {
        active_ = true;
        return false;
    }
    if (!callback)
        return false;
    auto* link = new Link{ownerHwnd_, callback, {}, this, {}};
    for (size_t i = 0; i < atoms_.size(); ++i)
        link->pairs.emplace_back(atoms_[i], handles_[i]);
    if (!link->hook.Hook(ownerHwnd_, [link](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
            return link->Run(msg, wParam, lParam);
        })) {
        delete link;
        return false;
    }
    link_ = link;
    for (const auto& [atom, handle] : link->pairs)
        SetPropA(ownerHwnd_, atom.c_str(), reinterpret_cast<HANDLE>(handle));
    active_ = true;
    return true;
}

void Subclassing::Destroy() {
    active_ = false;
    if (Link* link = link_) {
        link->Unhook();
        if (link->running == 0)
            delete link;
    }
}

LONG_PTR HookedValue(HWND hwnd, const char* atom) {
    if (current && current->hwnd == hwnd) {
        // The later of two pairs under one name wins, as on the window.
        for (auto it = current->pairs.rbegin(); it != current->pairs.rend(); ++it)
            if (lstrcmpiA(it->first.c_str(), atom) == 0)
                return it->second;
        return 0;
    }
    return reinterpret_cast<LONG_PTR>(GetPropA(hwnd, atom));
}

LRESULT CallReplacedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (current && current->hwnd == hwnd)
        return WindowHook::Next(hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace cw
