#pragma once
// The window being designed: a form loaded in design mode, whose components show their
// design-time looks, and which reports each change a component announces.
#include "forms/Form.h"

#include <functional>
#include <string>

namespace cw {

class DesignForm : public Form {
public:
    DesignForm();

    std::function<void(const std::string& component, const std::string& key)> ComponentChanged;

protected:
    void OnComponentChanged(const std::string& component, const std::string& key) override;
};

} // namespace cw
