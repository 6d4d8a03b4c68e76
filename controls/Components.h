#pragma once

namespace cw {

// Makes the component kinds (SystemMenu, InfoFrame, StatusBar) known to the forms, for the
// program and the designer alike.
void RegisterComponents();

} // namespace cw
