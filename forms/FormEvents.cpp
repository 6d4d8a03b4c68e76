#include "forms/FormEvents.h"

#include "win32/Trace.h"

#include <windows.h>

namespace cw {

void FormEvents::Bind(std::string control, Event event, Handler handler) {
    routes_.push_back({std::move(control), event, std::move(handler)});
}

std::string FormEvents::Resolve(const std::function<const Control*(std::string_view)>& find) {
    std::string error;
    for (Route& route : routes_) {
        route.resolved = find(route.control);
        if (!error.empty())
            continue; // none may keep a control of an earlier build
        const std::string handler = route.control + "_" + EventName(route.event);
        if (!route.resolved)
            error = "no control " + route.control + " for the handler " + handler;
        else if (!route.resolved->Raises(route.event))
            error = "control " + route.control + " raises no " + EventName(route.event) +
                    " for the handler " + handler;
    }
    return error;
}

void FormEvents::Raise(const Control& control, Event event, int& keyCode) const {
    for (const Route& route : routes_) {
        if (route.resolved != &control || route.event != event)
            continue;
        const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) |
                          (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                          (GetKeyState(VK_MENU) < 0 ? 4 : 0);
        const Handler handler = route.handler; // the handler may unload the form
        const TraceStep trace("event", control.Name() + "_" + EventName(event));
        handler(keyCode, shift);
        return;
    }
}

} // namespace cw
