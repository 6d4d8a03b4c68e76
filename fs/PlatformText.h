#pragma once
// Reading a text that a platform function writes into a caller's buffer.
#include <windows.h>

#include <cstring>
#include <string>

namespace cw::detail {

// For functions that return the length written, or the size they need (NUL included) when the
// buffer is too small: the text is read whole even when it outgrows MAX_PATH, never cut short.
template <typename Fill> std::string ReadPlatformText(Fill fill) {
    std::string text(MAX_PATH, '\0');
    DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
    if (length >= text.size()) {
        text.assign(length, '\0');
        length = fill(text.data(), static_cast<DWORD>(text.size()));
        if (length >= text.size())
            return {};
    }
    text.resize(length);
    return text;
}

// The text before the buffer's first NUL.
inline void TrimAtNul(std::string& buffer) {
    buffer.resize(std::strlen(buffer.c_str()));
}

} // namespace cw::detail
