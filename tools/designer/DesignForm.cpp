#include "tools/designer/DesignForm.h"

namespace cw {

DesignForm::DesignForm() {
    SetUserMode(false);
}

void DesignForm::OnComponentChanged(const std::string& component, const std::string& key) {
    if (ComponentChanged)
        ComponentChanged(component, key);
}

} // namespace cw
