#include "tools/designer/ComponentKinds.h"

#include "controls/statusbar/PanelsPage.h"
#include "controls/systemmenu/SystemMenuItemsPage.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace cw {
namespace {

PropertyBag Layout(std::initializer_list<std::pair<const char*, const char*>> values) {
    PropertyBag bag;
    for (const auto& [key, text] : values)
        bag.SetText(key, text);
    return bag;
}

} // namespace

// A status bar docks itself to the bottom and a header sizes itself; the header strip goes to the
// top edge, where it belongs, and the status bar gets the usual bar height.
const std::vector<InsertableKind>& InsertableKinds() {
    static const std::vector<InsertableKind> kinds = {
        {"StatusBar", "&Status bar", Layout({{"height", "300"}})},
        {"SystemMenu", "S&ystem menu", Layout({{"left", "120"}, {"top", "120"}})},
        {"InfoFrame", "&Header strip", Layout({{"align", "1"}})},
    };
    return kinds;
}

std::unique_ptr<PropertyPage> MakePropertyPage(std::string_view kind) {
    if (lstrcmpiA(std::string(kind).c_str(), "StatusBar") == 0)
        return std::make_unique<PanelsPage>();
    if (lstrcmpiA(std::string(kind).c_str(), "SystemMenu") == 0)
        return std::make_unique<SystemMenuItemsPage>();
    return nullptr;
}

} // namespace cw
