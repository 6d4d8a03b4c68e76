#pragma once
// Errors that library members raise to their callers where the caller asked for something
// impossible (as opposed to a bad path, which members report through their results).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace cw {

struct OverflowError : std::overflow_error {
    OverflowError() : std::overflow_error("Overflow") {}
};

struct TypeMismatchError : std::invalid_argument {
    TypeMismatchError() : std::invalid_argument("Type mismatch") {}
};

struct IndexOutOfRangeError : std::out_of_range {
    IndexOutOfRangeError() : std::out_of_range("Subscript out of range") {}
};

// The system's own words for an error code ("Access is denied"), without the final full stop.
std::string SystemErrorText(std::uint32_t code);

} // namespace cw
