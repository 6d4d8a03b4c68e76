#include "MessageBoxAnswerer.h"

namespace cwtest {
namespace {

thread_local MessageBoxAnswerer* current = nullptr;

std::string WindowText(HWND w) {
    char buffer[4096] = "";
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
}

std::string ClassOf(HWND w) {
    char buffer[64] = "";
    GetClassNameA(w, buffer, sizeof buffer);
    return buffer;
}

struct Scan {
    AnsweredBox box;
    bool hasOk = false;
};

BOOL CALLBACK ScanChild(HWND child, LPARAM param) {
    auto& scan = *reinterpret_cast<Scan*>(param);
    const std::string cls = ClassOf(child);
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            const HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            if (icon == LoadIcon(nullptr, IDI_EXCLAMATION))
                scan.box.icon = BoxIcon::Exclamation;
            else if (icon == LoadIcon(nullptr, IDI_INFORMATION))
                scan.box.icon = BoxIcon::Information;
            else if (icon)
                scan.box.icon = BoxIcon::Other;
        } else if (const std::string text = WindowText(child); text.size() > scan.box.text.size()) {
            scan.box.text = text;
        }
    } else if (lstrcmpiA(cls.c_str(), "Button") == 0 && GetDlgCtrlID(child) == IDOK) {
        scan.hasOk = true;
    }
    return TRUE;
}

Scan ScanBox(HWND box) {
    Scan scan;
    scan.box.title = WindowText(box);
    EnumChildWindows(box, ScanChild, reinterpret_cast<LPARAM>(&scan));
    return scan;
}

} // namespace

AnsweredBox ReadMessageBox(HWND box) { return ScanBox(box).box; }

bool IsMessageBox(HWND window) {
    if (ClassOf(window) != "#32770")
        return false;
    const Scan scan = ScanBox(window);
    return scan.hasOk && !scan.box.text.empty();
}

MessageBoxAnswerer::MessageBoxAnswerer() {
    current = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    current = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(window))
            current->Answer(window);
        else if (current->onOtherWindow)
            current->onOtherWindow(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::Answer(HWND box) {
    boxes_.push_back(ReadMessageBox(box));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

} // namespace cwtest
