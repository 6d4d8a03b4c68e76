#pragma once
// The kinds of component a form can create from its design. The program registers each kind
// ("StatusBar", ...) once at start-up; a design entry of a kind nobody registered creates nothing
// and is kept as it was, so the design still round-trips.
#include "forms/Component.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace cw {

class ComponentFactory {
public:
    using Creator = std::function<std::unique_ptr<Component>(ComponentHost&)>;

    // Kinds match without regard to case; registering a kind again replaces its creator.
    static void Register(const std::string& kind, Creator creator);
    static void Unregister(std::string_view kind);
    static bool Knows(std::string_view kind);
    // nullptr for an unknown kind.
    static std::unique_ptr<Component> Create(std::string_view kind, ComponentHost& host);
};

} // namespace cw
