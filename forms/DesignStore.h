#pragma once
// Saved designs in the program (RCDATA resources named after their window) and in files.
#include "forms/DesignNode.h"

#include <optional>
#include <string>

namespace cw {

struct DesignLoad {
    std::optional<DesignNode> design;
    std::string error; // says what failed and where, when there is no design
};

DesignLoad LoadDesignResource(const std::string& name);
DesignLoad LoadDesignFile(const std::string& path);
// False when the file cannot be written; the file is then as it was.
bool SaveDesignFile(const std::string& path, const DesignNode& design);

// A whole file's text (designs are small: at most 16 MiB are read).
bool ReadTextFile(const std::string& path, std::string& text);
// Replaces a file's text durably (fs/DurableReplace), so a failed write loses nothing.
bool WriteTextFile(const std::string& path, const std::string& text);

} // namespace cw
