#include "Components.h"

#include "ComponentFactory.h"
#include "InfoFrame.h"
#include "StatusBar.h"
#include "SystemMenu.h"

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
