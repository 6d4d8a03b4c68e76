#pragma once
// The program's command line: "/reapply" and "/undo" run without a window (for a logon task or
// after installs) and say how it went only through the exit code and the log beside the journal.
#include <string_view>

namespace cw {

enum class Switch { None, Reapply, Undo, Status, Unknown };

// Exit codes of the switches.
constexpr int kExitDone = 0;
constexpr int kExitNothingSaved = 1; // no saved order to reapply, no run to undo
constexpr int kExitSomeFailed = 2;
constexpr int kExitOutOfPlace = 3; // "/status": some shortcuts are out of the applied order
constexpr int kExitUsage = 64;

extern const char* const kUsage;

// Switches are matched without regard to case; blanks around them do not count.
Switch ReadSwitch(std::string_view commandLine);

// Runs "/reapply", "/undo" or "/status"; the exit code. Failures go to the log, never to a message
// box.
int RunSwitch(Switch which);

} // namespace cw
