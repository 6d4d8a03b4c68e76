#pragma once
// Shows the hourglass over a form for one scope and puts the form's previous pointer back, also
// when the scope is left by an exception.
#include "forms/Form.h"

namespace cw {

class BusyCursor {
public:
    explicit BusyCursor(Form& form) : form_(form), previous_(form.MousePointer()) {
        form.SetMousePointer(kPointerHourglass);
    }
    ~BusyCursor() { form_.SetMousePointer(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Form& form_;
    int previous_;
};

} // namespace cw
