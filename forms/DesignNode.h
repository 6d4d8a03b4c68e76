#pragma once
// One window, control or component of a saved design.
//
// A window's design is a tree: the form at the root, its controls and components below it in
// creation order, the controls of a frame below the frame. Layout values (caption, left, top, ...)
// and a component's own saved properties live in separate bags, so a component's keys can never
// clash with the host's layout keys.
#include "forms/PropertyBag.h"

#include <string>
#include <vector>

namespace cw {

struct DesignNode {
    std::string kind; // "Form", "CommandButton", "Frame", ..., or a component kind ("StatusBar")
    std::string name; // "FormClutterwise", "CommandProcess", ...
    PropertyBag properties;
    // A component's saved properties. A component entry without a bag is a new component: the
    // host initialises it instead of reading it.
    bool hasBag = false;
    PropertyBag bag;
    std::vector<DesignNode> children;
    int line = 0; // where the entry begins in the text it was read from; not part of the design

    friend bool operator==(const DesignNode& a, const DesignNode& b) {
        return a.kind == b.kind && a.name == b.name && a.properties == b.properties &&
               a.hasBag == b.hasBag && a.bag == b.bag && a.children == b.children;
    }
};

} // namespace cw
