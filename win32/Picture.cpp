#include "win32/Picture.h"

namespace cw {

Picture Picture::FromResource(int id, int size) {
    return *FromReference("res:" + std::to_string(id), size);
}

std::optional<Picture> Picture::FromReference(const std::string& reference, int size) {
    HICON icon = nullptr;
    if (reference.rfind("res:", 0) == 0) {
        const std::string digits = reference.substr(4);
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(std::stoi(digits)),
                                             IMAGE_ICON, size, size, 0));
    } else if (reference.rfind("file:", 0) == 0 && reference.size() > 5) {
        icon = static_cast<HICON>(
            LoadImageA(nullptr, reference.c_str() + 5, IMAGE_ICON, size, size, LR_LOADFROMFILE));
    } else {
        return std::nullopt;
    }
    Picture picture;
    picture.reference_ = reference;
    if (icon)
        picture.icon_ = std::make_shared<const OwnedIcon>(icon);
    return picture;
}

} // namespace cw
