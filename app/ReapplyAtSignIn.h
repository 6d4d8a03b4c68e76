#pragma once
// "Reapply at sign-in": the one value "Clutterwise" under the user's
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, whose data starts this program with
// "/reapply" each time the user signs in. Nothing else in the registry is read or written, and
// nothing at all unless the user asks for it.
#include <string>

namespace cw {

enum class SignInValue {
    Absent,
    ThisProgram, // the data starts this program's file with "/reapply"
    Other,       // anything else: another path (the program was moved), switch or type
};

// The value's data for the program file at `path`: "\"<path>\" /reapply".
std::string SignInCommand(const std::string& path);

// Whether the value is there and starts this program, its path compared without regard to case.
SignInValue ReadSignInValue();
// Writes the value for this program, over whatever value of that name is there; false when it
// cannot be written.
bool WriteSignInValue();
// Removes the value; true when it is gone, also when it was never there.
bool RemoveSignInValue();

} // namespace cw
