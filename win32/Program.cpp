#include "win32/Program.h"

#include "win32/SingleInstance.h"

#include <windows.h>

#include <memory>

namespace cw {
namespace {

std::string& TitleText() {
    static std::string title = "Clutterwise";
    return title;
}

} // namespace

const std::string& Program::Title() {
    return TitleText();
}

void Program::SetTitle(const std::string& title) {
    TitleText() = title;
}

std::string Program::Path() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return "";
        if (n < path.size()) { // else cut short: try a longer buffer
            path.resize(n);
            return path;
        }
        if (path.size() > 32768)
            return "";
        path.resize(path.size() * 2);
    }
}

const VersionInfo& Program::Version() {
    static const VersionInfo version = VersionInfo::OfRunningProgram().value_or(VersionInfo{});
    return version;
}

std::string Program::InstanceName() {
    const VersionInfo& v = Version();
    std::string name = (v.companyName.empty() ? std::string("Clutterwise") : v.companyName) + "." +
                       (v.productName.empty() ? std::string("Clutterwise") : v.productName) +
                       ".Instance";
    for (char& c : name)
        if (c == '\\')
            c = '_'; // a backslash would name a namespace
    return "Local\\" + name;
}

bool Program::PrevInstance() {
    static const SingleInstance instance(InstanceName());
    return instance.AnotherIsRunning();
}

void Program::MsgBox(const std::string& text, MessageIcon icon) {
    UINT type = MB_OK;
    if (icon == MessageIcon::Exclamation)
        type |= MB_ICONEXCLAMATION;
    else if (icon == MessageIcon::Information)
        type |= MB_ICONINFORMATION;
    // Owned by the active window, which it disables while it is open. Not MB_TASKMODAL: under
    // Wine such a box is never activated, so neither the user nor a test can answer it.
    MessageBoxA(GetActiveWindow(), text.c_str(), Title().c_str(), type);
}

bool Program::AskYesNo(const std::string& text) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), Title().c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Program::DiscardInput() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

} // namespace cw
