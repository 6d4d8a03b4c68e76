// libFuzzer target: the design reader and the property bag's value codec on any input.
// Built natively by scripts/fuzz.sh.
#include "tests/fuzz/DesignCheck.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!cwtest::CheckDesignText(text).empty())
        std::abort();
    return 0;
}
