#pragma once
// Many short texts (the paths or row texts of tens of thousands of shortcuts) kept back to back in
// one block, with a table that finds a text's place. A string each would cost a block of the heap
// apiece, and the heap keeps what such blocks held long after they go: every list made and
// dropped again (each scan makes one) would raise the process's memory for good.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class TextList {
public:
    // Room for `count` texts of `chars` characters in all, so that adding never moves them.
    void Reserve(std::size_t count, std::size_t chars);
    // Adds `first` followed by `rest` as one text.
    void Add(std::string_view first, std::string_view rest = {});
    std::size_t Size() const { return ends_.size(); }
    std::string_view operator[](std::size_t place) const;

    // Makes Find quick, until the next Add.
    void Index();
    // The place of the first text equal to `text` (case counts); Size() when there is none.
    std::size_t Find(std::string_view text) const;

private:
    static constexpr std::uint32_t kFree = UINT32_MAX;

    std::string text_;
    std::vector<std::size_t> ends_;    // where each text ends in text_
    std::vector<std::uint32_t> slots_; // places by their text's hash, kFree where none
};

} // namespace cw
