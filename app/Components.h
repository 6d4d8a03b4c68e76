#pragma once

namespace cw {

// Makes the program's component kinds (SystemMenu, InfoFrame, StatusBar) known to the forms.
void RegisterComponents();

} // namespace cw
