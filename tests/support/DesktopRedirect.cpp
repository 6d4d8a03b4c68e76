#include "DesktopRedirect.h"

#include <windows.h>

namespace cwtest {
namespace {

constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetDesktop(const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Desktop", 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
}

} // namespace

DesktopRedirect::DesktopRedirect(const std::string& folder) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    hadPrevious_ = RegGetValueA(HKEY_CURRENT_USER, kKey, "Desktop", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                                RRF_NOEXPAND, nullptr, buffer, &size) == ERROR_SUCCESS;
    if (hadPrevious_)
        previous_ = buffer;
    SetDesktop(folder);
}

DesktopRedirect::~DesktopRedirect() {
    if (hadPrevious_) {
        SetDesktop(previous_);
    } else {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Desktop");
            RegCloseKey(key);
        }
    }
}

} // namespace cwtest
