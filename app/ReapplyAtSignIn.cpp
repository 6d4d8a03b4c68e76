#include "app/ReapplyAtSignIn.h"

#include "win32/Program.h"

#include <windows.h>

namespace cw {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kValueName = "Clutterwise";

} // namespace

std::string SignInCommand(const std::string& path) {
    return "\"" + path + "\" /reapply";
}

SignInValue ReadSignInValue() {
    // A text value only (an expandable one comes back expanded); any other type is not ours.
    DWORD size = 0;
    LSTATUS status = RegGetValueA(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr,
                                  nullptr, &size);
    std::string data;
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size); // grown whenever the value grew between the calls
        status = RegGetValueA(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr,
                              data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(size > 0 ? size - 1 : 0); // without its final null
            break;
        }
    }
    if (status == ERROR_FILE_NOT_FOUND)
        return SignInValue::Absent;
    const std::string path = Program::Path();
    return status == ERROR_SUCCESS && !path.empty() &&
                   lstrcmpiA(data.c_str(), SignInCommand(path).c_str()) == 0
               ? SignInValue::ThisProgram
               : SignInValue::Other;
}

bool WriteSignInValue() {
    const std::string path = Program::Path();
    if (path.empty())
        return false;
    const std::string data = SignInCommand(path);
    return RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, kValueName, REG_SZ, data.c_str(),
                           static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool RemoveSignInValue() {
    const LSTATUS status = RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kValueName);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace cw
