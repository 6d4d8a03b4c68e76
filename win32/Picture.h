#pragma once
// A picture refers to an icon: one of the program's icon resources ("res:<id>") or an .ico file
// ("file:<path>"). Copies share the loaded icon, which is destroyed with the last of them.
#include "win32/Handles.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace cw {

class Picture {
public:
    Picture() = default; // no picture

    // The icon resource of this program's module, at the given square size in pixels.
    static Picture FromResource(int id, int size = 32);
    // Parses "res:<id>" or "file:<path>"; nothing for any other text. A reference whose icon
    // cannot be loaded gives a picture with that reference and no icon.
    static std::optional<Picture> FromReference(const std::string& reference, int size = 32);

    HICON Handle() const { return icon_ ? icon_->Get() : nullptr; }
    const std::string& Reference() const { return reference_; }
    explicit operator bool() const { return !reference_.empty(); }

    friend bool operator==(const Picture& a, const Picture& b) { return a.reference_ == b.reference_; }

private:
    std::string reference_;
    std::shared_ptr<const OwnedIcon> icon_;
};

} // namespace cw
