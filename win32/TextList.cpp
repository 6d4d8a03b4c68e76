#include "win32/TextList.h"

#include <functional>

namespace cw {

void TextList::Reserve(std::size_t count, std::size_t chars) {
    ends_.reserve(count);
    text_.reserve(chars);
}

void TextList::Add(std::string_view first, std::string_view rest) {
    text_.append(first).append(rest);
    ends_.push_back(text_.size());
    slots_.clear();
}

std::string_view TextList::operator[](std::size_t place) const {
    const std::size_t begin = place == 0 ? 0 : ends_[place - 1];
    return std::string_view(text_).substr(begin, ends_[place] - begin);
}

// Open addressing over at least twice as many slots as texts: a probe ends at a free slot soon.
void TextList::Index() {
    std::size_t count = 1;
    while (count < 2 * Size())
        count *= 2;
    slots_.assign(count, kFree);
    for (std::size_t place = Size(); place-- > 0;) { // the first of equal texts stays in front
        std::size_t slot = std::hash<std::string_view>()((*this)[place]) & (count - 1);
        while (slots_[slot] != kFree && (*this)[slots_[slot]] != (*this)[place])
            slot = (slot + 1) & (count - 1);
        slots_[slot] = static_cast<std::uint32_t>(place);
    }
}

std::size_t TextList::Find(std::string_view text) const {
    if (slots_.empty()) {
        for (std::size_t place = 0; place < Size(); ++place)
            if ((*this)[place] == text)
                return place;
        return Size();
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(text) & mask; slots_[slot] != kFree;
         slot = (slot + 1) & mask)
        if (slots_[slot] < Size() && (*this)[slots_[slot]] == text)
            return slots_[slot];
    return Size();
}

} // namespace cw
