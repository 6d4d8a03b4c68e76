#include "win32/Picture.h"

#include <cstdlib>

namespace cw {
namespace {

#pragma pack(push, 2)
struct GroupIconEntry { // RT_GROUP_ICON's directory entry
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

int EntrySize(BYTE width) {
    return width == 0 ? 256 : width;
}

std::vector<int> ResourceIconSizes(int id) {
    std::vector<int> sizes;
    const HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found =
        FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD bytes = found ? SizeofResource(module, found) : 0;
    if (!data || bytes < 6)
        return sizes;
    const WORD count = *reinterpret_cast<const WORD*>(data + 4);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= bytes; ++i) {
        GroupIconEntry entry;
        memcpy(&entry, data + 6 + i * sizeof entry, sizeof entry);
        sizes.push_back(EntrySize(entry.width));
    }
    return sizes;
}

std::vector<int> FileIconSizes(const std::string& path) {
    std::vector<int> sizes;
    const KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    unsigned char directory[6 + 16 * 64] = {}; // the header and up to 64 entries
    DWORD got = 0;
    if (!file || !ReadFile(file.Get(), directory, sizeof directory, &got, nullptr) || got < 6)
        return sizes;
    const int count = directory[4] | directory[5] << 8;
    for (int i = 0; i < count && 6 + (i + 1) * 16 <= static_cast<int>(got); ++i)
        sizes.push_back(EntrySize(directory[6 + i * 16]));
    return sizes;
}

} // namespace

int NearestIconSize(const std::vector<int>& held, int wanted) {
    int best = 0;
    for (const int size : held)
        if (best == 0 || std::abs(size - wanted) < std::abs(best - wanted) ||
            (std::abs(size - wanted) == std::abs(best - wanted) && size < best))
            best = size;
    return best > 0 ? best : wanted;
}

Picture Picture::FromResource(int id, int size) {
    return *FromReference("res:" + std::to_string(id), size);
}

std::optional<Picture> Picture::FromReference(const std::string& reference, int size) {
    HICON icon = nullptr;
    if (reference.rfind("res:", 0) == 0) {
        const std::string digits = reference.substr(4);
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const int id = std::stoi(digits);
        size = NearestIconSize(ResourceIconSizes(id), size);
        icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    } else if (reference.rfind("file:", 0) == 0 && reference.size() > 5) {
        size = NearestIconSize(FileIconSizes(reference.substr(5)), size);
        icon = static_cast<HICON>(
            LoadImageA(nullptr, reference.c_str() + 5, IMAGE_ICON, size, size, LR_LOADFROMFILE));
    } else {
        return std::nullopt;
    }
    Picture picture;
    picture.reference_ = reference;
    if (icon) {
        picture.icon_ = std::make_shared<const OwnedIcon>(icon);
        picture.size_ = size;
    }
    return picture;
}

Picture Picture::AtSize(int size) const {
    if (reference_.empty() || (icon_ && size_ == size))
        return *this;
    return FromReference(reference_, size).value_or(*this);
}

} // namespace cw
