#pragma once
// Routes the events of a form's controls to the form's handlers. A form binds its handlers with a
// table of control, event and member function (Form::BindEvents), so that a misspelt member does
// not compile; Load checks the table against the design, so that a control it names that the
// design lacks, or one that does not raise the event, fails the load, naming it.
#include "forms/Control.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// One row of a form's handler table. Click and DblClick handlers take nothing; KeyDown handlers
// take the key code (changeable: 0 swallows the key) and the shift state (1 Shift, 2 Ctrl, 4 Alt).
// A handler of the wrong shape for its event does not compile.
template <typename F> struct EventBinding {
    using Plain = void (F::*)();
    using Key = void (F::*)(int& keyCode, int shift);

    consteval EventBinding(const char* name, Event raised, Plain handler)
        : control(name), event(raised), plain(handler) {
        if (raised == Event::KeyDown)
            throw "a KeyDown handler takes the key code and the shift state";
    }
    consteval EventBinding(const char* name, Event raised, Key handler)
        : control(name), event(raised), key(handler) {
        if (raised != Event::KeyDown)
            throw "only a KeyDown handler takes a key";
    }

    const char* control;
    Event event;
    Plain plain = nullptr;
    Key key = nullptr;
};

class FormEvents {
public:
    using Handler = std::function<void(int& keyCode, int shift)>;

    void Bind(std::string control, Event event, Handler handler);
    // Finds each bound control with `find`. The error names the first handler whose control is
    // missing or does not raise its event; "" when every handler has its control.
    std::string Resolve(const std::function<const Control*(std::string_view)>& find);
    // Runs the handler bound to the control's event, if any.
    void Raise(const Control& control, Event event, int& keyCode) const;

private:
    struct Route {
        std::string control;
        Event event;
        Handler handler;
        const Control* resolved = nullptr;
    };

    std::vector<Route> routes_;
};

} // namespace cw
