#pragma once
// The elevated step: the one thing the program does with an administrator's rights. Handed the
// path of a request beside a run's journal ("...\journal-000007.request.txt"), it stamps the
// request's files in the desktop of all users, by the request's rules and the guarded stamp's,
// and writes what it did to the outcome beside the request ("journal-000007.outcome.txt"),
// which it creates new before it stamps anything and fills line by line as each file is done.
// It shows no window.
#include <cstdint>
#include <string>

namespace cw {

// The outcome's path for a request's; "" when the request is not named "*.request.txt".
std::string OutcomePathOf(const std::string& requestPath);

// Runs the step on the desktop of all users `allUsersFolder` (the caller finds it itself:
// GuardedStamp::AllUsersDesktop()) at the time `now` (UTC). The exit code: 0 every file stamped;
// 2 some or all refused, or the request refused (each named in the outcome); 3 no outcome could
// be written (a request that is missing or no plain file, an outcome already there, a folder
// reached through a link), and nothing was stamped; 64 a request path not named as one.
int RunAllUsersStep(const std::string& requestPath, const std::string& allUsersFolder,
                    std::uint64_t now);

} // namespace cw
