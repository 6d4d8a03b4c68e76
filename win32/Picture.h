#pragma once
// A picture refers to an icon: one of the program's icon resources ("res:<id>") or an .ico file
// ("file:<path>"). Copies share the loaded icon, which is destroyed with the last of them.
#include "win32/Handles.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class Picture {
public:
    Picture() = default; // no picture

    // The icon resource of this program's module, at the size it holds nearest to `size` pixels.
    static Picture FromResource(int id, int size = 32);
    // Parses "res:<id>" or "file:<path>"; nothing for any other text. The icon is loaded at the
    // size it holds nearest to `size` (never stretched from another). A reference whose icon
    // cannot be loaded gives a picture with that reference and no icon.
    static std::optional<Picture> FromReference(const std::string& reference, int size = 32);

    // The same icon at the size it holds nearest to `size` pixels.
    Picture AtSize(int size) const;

    HICON Handle() const { return icon_ ? icon_->Get() : nullptr; }
    int Size() const { return size_; } // pixels, as loaded
    const std::string& Reference() const { return reference_; }
    explicit operator bool() const { return !reference_.empty(); }

    friend bool operator==(const Picture& a, const Picture& b) {
        return a.reference_ == b.reference_;
    }

private:
    std::string reference_;
    std::shared_ptr<const OwnedIcon> icon_;
    int size_ = 0;
};

// Of the sizes an icon holds, the one nearest to `wanted` (the smaller of two as near); `wanted`
// itself when none is known.
int NearestIconSize(const std::vector<int>& held, int wanted);

} // namespace cw
