#include "MessageBoxAnswerer.h"

namespace cwtest {
namespace {

thread_local MessageBoxAnswerer* current = nullptr;

std::string Text(HWND w, bool className = false) {
    char buffer[4096] = "";
    className ? GetClassNameA(w, buffer, sizeof buffer) : GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
}

// The box as read so far; `hasOk` once its OK button is seen.
struct Scan {
    AnsweredBox box;
    bool hasOk = false, hasYes = false;
};

BOOL CALLBACK ScanChild(HWND child, LPARAM param) {
    auto& scan = *reinterpret_cast<Scan*>(param);
    const std::string cls = Text(child, true);
    if (lstrcmpiA(cls.c_str(), "Button") == 0 && GetDlgCtrlID(child) == IDOK)
        scan.hasOk = true;
    if (lstrcmpiA(cls.c_str(), "Button") == 0 && GetDlgCtrlID(child) == IDYES)
        scan.hasYes = true;
    if (lstrcmpiA(cls.c_str(), "Static") != 0)
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        scan.box.icon = icon == LoadIcon(nullptr, IDI_EXCLAMATION)   ? BoxIcon::Exclamation
                        : icon == LoadIcon(nullptr, IDI_INFORMATION) ? BoxIcon::Information
                        : icon                                       ? BoxIcon::Other
                                                                     : BoxIcon::None;
    } else if (std::string text = Text(child); text.size() > scan.box.text.size()) {
        scan.box.text = std::move(text);
    }
    return TRUE;
}

Scan ScanBox(HWND box) {
    Scan scan;
    scan.box.title = Text(box);
    EnumChildWindows(box, ScanChild, reinterpret_cast<LPARAM>(&scan));
    return scan;
}

} // namespace

AnsweredBox ReadMessageBox(HWND box) {
    return ScanBox(box).box;
}

bool IsMessageBox(HWND window, bool question) {
    if (Text(window, true) != "#32770")
        return false;
    const Scan scan = ScanBox(window);
    return (question ? scan.hasYes : scan.hasOk) && !scan.box.text.empty();
}

MessageBoxAnswerer::MessageBoxAnswerer() {
    current = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    UnhookWindowsHookEx(hook_);
    current = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && current && IsMessageBox(window)) {
        current->boxes_.push_back(ReadMessageBox(window));
        if (current->onBox)
            current->onBox(current->boxes_.back());
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (code == HCBT_ACTIVATE && current && current->onOtherWindow) {
        current->onOtherWindow(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace cwtest
