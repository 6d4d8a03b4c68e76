#pragma once
// The values of an enumeration, each with a keyword (one word, for files other processes read)
// and a text (for people), in a table of the caller's.
#include <cstddef>
#include <string_view>

namespace cw {

template <typename E> struct KeywordName {
    E value;
    const char* keyword;
    const char* text;
};

// The entry of `value`; the table's last one for a value it does not hold.
template <typename E, std::size_t N>
const KeywordName<E>& NameIn(const KeywordName<E> (&table)[N], E value) {
    for (const KeywordName<E>& name : table)
        if (name.value == value)
            return name;
    return table[N - 1];
}

// False when `word` is none of the table's keywords.
template <typename E, std::size_t N>
bool ValueOfKeyword(const KeywordName<E> (&table)[N], std::string_view word, E& value) {
    for (const KeywordName<E>& name : table)
        if (word == name.keyword) {
            value = name.value;
            return true;
        }
    return false;
}

} // namespace cw
