#include "DesktopRedirect.h"

#include <windows.h>

namespace cwtest {
namespace {

constexpr const char* kKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetDesktop(const std::string& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Desktop", REG_EXPAND_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

} // namespace

DesktopRedirect::DesktopRedirect(const std::string& folder) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    hadPrevious_ = RegGetValueA(HKEY_CURRENT_USER, kKey, "Desktop",
                                RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                                buffer, &size) == ERROR_SUCCESS;
    if (hadPrevious_)
        previous_ = buffer;
    SetDesktop(folder);
}

DesktopRedirect::~DesktopRedirect() {
    if (hadPrevious_)
        SetDesktop(previous_);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "Desktop");
}

} // namespace cwtest
