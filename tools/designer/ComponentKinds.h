#pragma once
// The kinds of component the designer knows: how each is created, what the Insert menu calls it
// and where a new one goes, and its property page.
#include "forms/PropertyBag.h"

#include <memory>
#include <string_view>
#include <vector>

namespace cw {

class PropertyPage;

struct InsertableKind {
    const char* kind;     // "StatusBar"
    const char* menuText; // "&Status bar"
    PropertyBag layout;   // where a new one is placed
};

const std::vector<InsertableKind>& InsertableKinds();
// The kind's property page, or nullptr for a kind that has none.
std::unique_ptr<PropertyPage> MakePropertyPage(std::string_view kind);

} // namespace cw
