#include "win32/Barrier.h"

#include "win32/Program.h"

#include <exception>
#include <string>

namespace cw {

void ReportException() noexcept {
    // A failure while a report is open (a paint under the box, say) would stack box on box.
    thread_local bool reporting = false;
    if (reporting)
        return;
    reporting = true;
    try {
        std::string text;
        try {
            throw;
        } catch (const std::exception& e) {
            text = e.what();
        } catch (...) {
        }
        Program::MsgBox(text.empty() ? "An unexpected error occurred." : text,
                        MessageIcon::Exclamation);
    } catch (...) {
        // Nothing more can be told: not even the box could be shown.
    }
    reporting = false;
}

} // namespace cw
