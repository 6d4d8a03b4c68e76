#pragma once
// A font as a design holds it: the six attributes that components read.
#include <string>

namespace cw {

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    friend bool operator==(const Font&, const Font&) = default;
};

} // namespace cw
