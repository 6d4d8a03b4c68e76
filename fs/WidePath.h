#pragma once
// Paths for the wide entry points. The narrow ones take no path of MAX_PATH characters or more,
// not even in the extended "\\?\" form (Wine refuses it too, whatever the manifest says); the wide
// ones take that form up to 32,767 characters long. Every file call of this library goes through
// here, so that one rule holds for every path length. The extended form is taken as it stands (no
// dots folded, no trailing dot or blank dropped).
#include "win32/Handles.h"

#include <optional>
#include <string>
#include <string_view>

namespace cw {

// Text in the program's code page (UTF-8 by its manifest) as UTF-16, and back.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// `path` for a wide call: as it is while shorter than MAX_PATH, else made whole (relative parts,
// forward slashes, dots) and in the extended form ("\\server\share\..." as "\\?\UNC\server\...").
std::wstring WidePath(const std::string& path);

// The same texts strictly: nothing for a text that is not valid UTF-8 or UTF-16.

std::optional<std::wstring> WideFromUtf8(std::string_view text);
std::optional<std::string> Utf8FromWide(std::wstring_view text);

// The full path of `path` in the extended form ("\\?\C:\...", "\\?\UNC\server\share\...");
// nothing when the platform cannot make it whole.
std::optional<std::wstring> ExtendedPathOf(const std::wstring& path);

// A path as GetFinalPathNameByHandleW gives it, without the extended form's prefix, so that it
// compares with a path a shell function names ("\\?\UNC\s\x" becomes "\\s\x").
std::wstring WithoutExtendedPrefix(std::wstring path);

// The path of the file or folder open as `handle` as the platform resolves it (every link on the
// way followed), in the plain form; nothing when it cannot say.
std::optional<std::wstring> FinalPathOf(HANDLE handle);

// Opens the folder `extended` (the extended form, no final backslash) without delete sharing, so
// that it is neither renamed nor removed while the handle is held; empty unless it is a real
// folder (no reparse point) whose final path, written to `final`, is the path given: a link
// anywhere on the way shows as another final path.
KernelHandle HoldFolder(const std::wstring& extended, std::wstring& final);

// Whether two paths or names are the same to the file system's usual rules: ordinal, ignoring
// case as the platform's own tables fold it.
bool SameFileText(std::wstring_view a, std::wstring_view b);

} // namespace cw
