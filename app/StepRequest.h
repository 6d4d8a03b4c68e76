#pragma once
// What a run hands to the elevated step that stamps the desktop of all users, and the rules by
// which the step believes it. The step may run as another account than the user's, so the
// request is untrusted input: it is read strictly and whole, and a file is stamped only to the
// times the run itself planned, within the run's own time window.
//
// The request is a small text file beside the run's journal ("journal-000007.request.txt"),
// plain UTF-8, one fact a line, "\n" or "\r\n" ending each:
//
//   Clutterwise all-users request 1
//   run 7
//   action stamp                              (or "restore", for Undo)
//   folder all-users
//   started 2026-05-12T08:15:00.1234567Z      (the run's start, UTC to 100 ns)
//   until 2026-05-12T08:15:04.0000000Z        (when the request was written)
//   step +60                                  (or -60)
//   file 0 <created> <accessed> <written> <stamp> Steam.url
//   end
//
// A file line gives the file's row in the order, its three times as the run found them, the
// time the run gives it ("stamp") or, for "restore", the time the run left on it ("-" when not
// known), and its name, the rest of the line. Any other line makes the whole request unreadable.
#include "fs/GuardedStamp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// Set so that every request a run can make fits: 32,767 rows of a shortcut and a ".pif", each
// line at most about 900 bytes (a name of 255 characters of three bytes each).
constexpr std::uint64_t kMaxRequestBytes = 64ull << 20;
constexpr size_t kMaxRequestFiles = 65'536;
constexpr std::int32_t kMaxRequestRows = 32'767;

enum class StepAction {
    Stamp,   // give each file its planned stamp (Process, Reapply Order)
    Restore, // give each file back its original times (Undo)
};

struct StepFile {
    std::string name; // the file's name in the all-users desktop
    std::int32_t row = 0;
    StampTimes original;
    // Stamp: the time planned for all three times. Restore: the last-write time the run left,
    // when the run recorded it.
    std::optional<std::uint64_t> stamp;
    friend bool operator==(const StepFile&, const StepFile&) = default;
};

struct StepRequest {
    std::int64_t run = 0;
    StepAction action = StepAction::Stamp;
    std::uint64_t started = 0, until = 0; // the run's time window
    std::int16_t step = 60;
    std::vector<StepFile> files;
    friend bool operator==(const StepRequest&, const StepRequest&) = default;
};

// Why a request is refused as a whole, before any file is looked at.
enum class RequestRefusal {
    TooLarge, // larger than kMaxRequestBytes
    Damaged,  // a line that does not follow the form
    Window,   // a step or time window that no run of the program makes
};

const char* Describe(RequestRefusal refusal);
const char* Keyword(RequestRefusal refusal);
bool RefusalOfKeyword(std::string_view word, RequestRefusal& refusal);

struct StepRequestRead {
    std::optional<StepRequest> request;
    int line = 0; // 1-based line of the fault; 0 when the fault is the text as a whole
};

StepRequestRead ReadStepRequest(std::string_view text);

// For the request and the outcome alike: the next whole line of `text` without its line end,
// taken off the text (false when no whole line is left), and whether a text may stand on a line
// (UTF-8 without control characters; DEL, legal in a file name, may).
bool TakeLine(std::string_view& text, std::string_view& line);
bool FitsOnALine(std::string_view text);
// Nothing when a name cannot stand on a line (empty, control characters, not UTF-8).
std::optional<std::string> WriteStepRequest(const StepRequest& request);

// The request's step and window against the clock of the step (`now`, UTC): nothing when they
// are ones a run makes. A run stamps at most a day; an Undo may come any time after its run.
std::optional<RequestRefusal> CheckWindow(const StepRequest& request, std::uint64_t now);

// Whether the times a file is to get are ones its run planned: NotPlanned when not, else Stamped.
StampReason CheckPlanned(const StepRequest& request, const StepFile& file);
// The times the file is to get.
StampTimes TargetTimes(const StepRequest& request, const StepFile& file);
// Which present write times leave the file as the run expects it: the one the run found, or the
// stamp the run gives it (when not recorded, one the run may have written).
WrittenCheck ExpectedWritten(const StepRequest& request, const StepFile& file);

} // namespace cw
