#pragma once
// The exception barrier of every window procedure of ours. An exception must not unwind through
// the system's message dispatch, which cannot pass it on and may end the process without a word:
// the barrier reports it to the user in a message box with the program's title and the
// exclamation icon, and the window goes on with the message answered by `failed`.
#include <windows.h>

namespace cw {

// Shows the exception being handled (call it inside a catch block): its what(), or a general text
// for an exception of another kind. One box at a time: a failure while it is open goes unshown.
void ReportException() noexcept;

template <typename Handle> LRESULT Barrier(Handle&& handle, LRESULT failed = 0) noexcept {
    try {
        return handle();
    } catch (...) {
        ReportException();
        return failed;
    }
}

} // namespace cw
