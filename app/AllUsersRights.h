#pragma once
// Asking Windows for an administrator's rights for the shortcuts of the desktop of all users that
// a run could not stamp or restore itself: one elevated copy of the program does exactly those
// files (app/AllUsersStep), and what it reports is believed only where the files show it.
#include "app/Runs.h"
#include "app/StepRequest.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class Journal;

// The switch that starts the elevated step: "/stamp-all-users "<request path>"".
inline constexpr const char* kStepSwitch = "/stamp-all-users";

// The request's path of the command line `/stamp-all-users "<path>"` (the quotes may be left out
// of a path without blanks); nothing for any other command line.
std::optional<std::string> StepRequestOf(std::string_view commandLine);
// The elevated step on that request, on the desktop of all users as the system names it to the
// step itself; its exit code.
int RunStepSwitch(const std::string& requestPath);

// "3 shortcuts on the desktop of all users need administrator rights to be re-stamped. Ask
// Windows for them now?"
std::string AskForRightsText(size_t count);

// "3 shortcuts on the desktop of all users were not stamped, as they need administrator rights:"
// (or restored, for `restore`) and their names, at most 20, then "and K more"; "" for none.
std::string NotDoneText(const std::vector<std::string>& paths, bool restore);

// Hands `files` of `run` (its journal's run, as saved last) to one elevated copy of the program
// through a request beside the journal, waits for it while this thread's windows are kept
// painted, and records in the journal what it did: a file counts as done only when its times
// read back as the request asked. Stamp: the run is recorded as not finished while the copy
// runs, so that a copy killed leaves a run Undo takes back. The full paths of the files not done.
std::vector<std::string> DoWithRights(Journal& journal, JournalRun& run,
                                      const std::vector<RefusedFile>& files, StepAction action);

// After an undo whose all-users files Windows refused (report.refused): restores them with
// rights as DoWithRights does, and counts those done as restored in `report`.
void RestoreWithRights(Journal& journal, UndoReport& report);

} // namespace cw
