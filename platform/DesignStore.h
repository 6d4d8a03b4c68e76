#pragma once
// Saved designs in the program (RCDATA resources named after their window) and in files.
#include "DesignNode.h"

#include <optional>
#include <string>

namespace cw {

struct DesignLoad {
    std::optional<DesignNode> design;
    std::string error; // says what failed and where, when there is no design
};

DesignLoad LoadDesignResource(const std::string& name);
DesignLoad LoadDesignFile(const std::string& path);
// False when the file cannot be written.
bool SaveDesignFile(const std::string& path, const DesignNode& design);

} // namespace cw
