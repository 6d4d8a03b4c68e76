#pragma once
// Program-wide services: the title that message boxes carry, the program's version information,
// the test for another running instance, and modal message boxes.
#include "win32/VersionInfo.h"

#include <string>

namespace cw {

enum class MessageIcon { None, Exclamation, Information };

class Program {
public:
    // "Clutterwise" until the program sets its own.
    static const std::string& Title();
    static void SetTitle(const std::string& title);

    // The full path of the running program's file (the .exe, not a library); "" when the
    // system cannot tell it.
    static std::string Path();
    // The running program's version information, read once; empty values when it has none.
    static const VersionInfo& Version();

    // Whether another instance of this program is running. The first call takes the program's
    // named mutex and keeps it until the process ends; later calls give the first answer.
    static bool PrevInstance();
    // The mutex name: the company and product names of the version information.
    static std::string InstanceName();

    // A modal message box with one OK button, titled with the program's title, owned by the
    // active window of this thread.
    static void MsgBox(const std::string& text, MessageIcon icon);
    // The same box with the question icon and the buttons Yes and No; true for Yes.
    static bool AskYesNo(const std::string& text);
    // Drops the keyboard and mouse input waiting for this thread's windows: what the user gave
    // while a long task held the message loop must not act once a box's loop takes messages.
    static void DiscardInput();
};

} // namespace cw
