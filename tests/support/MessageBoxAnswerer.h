#pragma once
// Answers the modal message boxes that code under test shows on this thread: records each box's
// title, text and icon and presses its OK button, as a user would. Nothing in the product knows.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace cwtest {

enum class BoxIcon { None, Exclamation, Information, Other };

struct AnsweredBox {
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::None;
};

class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<AnsweredBox>& Boxes() const { return boxes_; }

    // Called with each message box before it is answered (what the code under test shows then).
    std::function<void(const AnsweredBox&)> onBox;
    // Called for every other top-level dialog window that activates while this answerer is alive
    // (for instance a modal form); the window is then left to the callback.
    std::function<void(HWND)> onOtherWindow;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_ = nullptr;
    std::vector<AnsweredBox> boxes_;
};

// Reads a message box window: its title, its text and its icon.
AnsweredBox ReadMessageBox(HWND box);
// Whether the window is a message box (a dialog with an OK button and a static text), or with
// `question` one that asks (a Yes button in place of OK).
bool IsMessageBox(HWND window, bool question = false);

} // namespace cwtest
