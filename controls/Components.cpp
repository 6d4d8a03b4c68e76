#include "controls/Components.h"

#include "controls/infoframe/InfoFrame.h"
#include "controls/statusbar/StatusBar.h"
#include "controls/systemmenu/SystemMenu.h"
#include "forms/ComponentFactory.h"

namespace cw {

void RegisterComponents() {
    ComponentFactory::Register(
        "SystemMenu", [](ComponentHost& host) { return std::make_unique<SystemMenu>(host); });
    ComponentFactory::Register(
        "InfoFrame", [](ComponentHost& host) { return std::make_unique<InfoFrame>(host); });
    ComponentFactory::Register(
        "StatusBar", [](ComponentHost& host) { return std::make_unique<StatusBar>(host); });
}

} // namespace cw
