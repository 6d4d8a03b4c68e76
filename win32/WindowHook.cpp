#include "win32/WindowHook.h"

#include "win32/Barrier.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace cw {
namespace {

// One window's hooks in the order they were hooked, in front of the procedure they replaced. A
// link that comes off while a message runs through the chain leaves an empty place, so that the
// places a running message has still to visit keep their numbers; the places are closed up once
// no message runs.
struct Chain {
    HWND hwnd = nullptr;
    WNDPROC replaced = nullptr;
    std::vector<WindowHook*> links;
    int running = 0;   // messages in the chain now
    bool gone = false; // the window has gone: freed once no message runs
};

// The hooked windows of this thread: only a window's own thread hooks it or runs its messages.
thread_local std::unordered_map<HWND, Chain*> chains;

// A message on its way through a chain: the links below `below` are still to see it. The
// innermost of this thread's is where Next goes on.
struct Passage {
    Chain* chain;
    size_t below;
    Passage* outer;
};
thread_local Passage* passing = nullptr;

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

bool Fronts(const Chain& chain) {
    return GetWindowLongPtrW(chain.hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ChainProc);
}

// Once no message runs: empty places closed up, and a chain without links (or without its
// window) taken out.
void Tidy(Chain* chain) {
    if (chain->running > 0)
        return;
    std::erase(chain->links, nullptr);
    if (!chain->gone) {
        if (!chain->links.empty() || !Fronts(*chain))
            return; // in use, or another procedure sits in front: it stays to pass messages on
        SetWindowLongPtrW(chain->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->replaced));
    }
    if (const auto found = chains.find(chain->hwnd);
        found != chains.end() && found->second == chain)
        chains.erase(found);
    delete chain;
}

// Passes the message to the next link of `passage` that is still hooked, or to the replaced
// procedure.
LRESULT PassOn(Passage& passage, UINT msg, WPARAM wParam, LPARAM lParam) {
    Chain& chain = *passage.chain;
    while (passage.below > 0)
        if (WindowHook* link = chain.links[--passage.below])
            return link->Run(chain.hwnd, msg, wParam, lParam);
    return CallWindowProcW(chain.replaced, chain.hwnd, msg, wParam, lParam);
}

// A message through the links from `below` down, as the innermost passage while it runs.
LRESULT Pass(Chain& chain, size_t below, UINT msg, WPARAM wParam, LPARAM lParam) {
    Passage passage{&chain, below, passing};
    passing = &passage;
    ++chain.running;
    struct Leave {
        Passage& passage;
        ~Leave() {
            passing = passage.outer;
            --passage.chain->running;
            Tidy(passage.chain);
        }
    } const leave{passage};
    return PassOn(passage, msg, wParam, lParam);
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto found = chains.find(hwnd);
    if (found == chains.end())
        return DefWindowProcW(hwnd, msg, wParam, lParam); // not reached: a chain goes last
    Chain& chain = *found->second;
    if (msg == WM_NCDESTROY) {
        // The window's last message: the chain goes with it once the message has been through.
        chain.gone = true;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.replaced));
    }
    return Pass(chain, chain.links.size(), msg, wParam, lParam);
}

} // namespace

bool WindowHook::Hook(HWND hwnd, Procedure procedure) {
    Unhook();
    if (!hwnd || !procedure || !IsWindow(hwnd) ||
        GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
        return false;
    Chain*& chain = chains[hwnd];
    if (chain && chain->gone)
        chain = nullptr; // a handle used again: the old window's chain ends with its last message
    if (!chain) {
        auto made = std::make_unique<Chain>();
        made->hwnd = hwnd;
        SetLastError(ERROR_SUCCESS);
        made->replaced = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc)));
        if (!made->replaced) {
            chains.erase(hwnd);
            return false;
        }
        chain = made.release();
    }
    procedure_ = std::move(procedure);
    chain->links.push_back(this);
    hwnd_ = hwnd;
    return true;
}

void WindowHook::Unhook() {
    const HWND hwnd = std::exchange(hwnd_, nullptr);
    if (!hwnd)
        return;
    const auto found = chains.find(hwnd);
    if (found == chains.end())
        return; // the window has gone, and its chain with it
    Chain* chain = found->second;
    std::replace(chain->links.begin(), chain->links.end(), this, static_cast<WindowHook*>(nullptr));
    Tidy(chain);
}

LRESULT WindowHook::Next(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (const Passage* p = passing; p; p = p->outer)
        if (p->chain->hwnd == hwnd)
            return Pass(*p->chain, p->below, msg, wParam, lParam);
    if (const auto found = chains.find(hwnd); found != chains.end())
        return CallWindowProcW(found->second->replaced, hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT WindowHook::Run(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY)
        Unhook(); // the chain still passes this last message on
    const Procedure procedure = procedure_;
    return Barrier([&] { return procedure(hwnd, msg, wParam, lParam); });
}

} // namespace cw
