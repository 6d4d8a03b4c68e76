#pragma once
// Paths for the wide entry points. The narrow ones take no path of MAX_PATH characters or more,
// not even in the extended "\\?\" form (Wine refuses it too, whatever the manifest says); the wide
// ones take that form up to 32,767 characters long. Every file call of this library goes through
// here, so that one rule holds for every path length.
#include <string>
#include <string_view>

namespace cw {

// Text in the program's code page (UTF-8 by its manifest) as UTF-16, and back.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// `path` for a wide call: as it is while shorter than MAX_PATH, else made whole (relative parts,
// forward slashes, dots) and in the extended form ("\\server\share\..." as "\\?\UNC\server\...").
std::wstring WidePath(const std::string& path);

} // namespace cw
