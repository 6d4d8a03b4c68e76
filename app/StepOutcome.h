#pragma once
// What the elevated step did with a request: written by the step beside the request, line by
// line as it goes, read by the run that asked. Each reads the other's file as untrusted input.
//
//   Clutterwise all-users outcome 1
//   run 7                         (the request's run; absent when the request could not be read)
//   refused damaged               (the request refused as a whole; then no file lines)
//   file stamped Steam.url        (each file of the request, in its order: its reason, its name)
//   file access-denied Mail.lnk
//   end                           (the step finished; absent when it was cut short)
//
// The reasons are the keywords of StampReason and RequestRefusal.
#include "app/StepRequest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

struct OutcomeFile {
    std::string name;
    StampReason reason = StampReason::Stamped;
    friend bool operator==(const OutcomeFile&, const OutcomeFile&) = default;
};

struct StepOutcome {
    std::optional<std::int64_t> run;
    std::optional<RequestRefusal> refused;
    std::vector<OutcomeFile> files;
    bool finished = false; // false: the step was cut short after the files listed
    friend bool operator==(const StepOutcome&, const StepOutcome&) = default;
};

// Nothing for a text that does not follow the form. A last line without its line end is what
// a step cut short left half written: it is dropped.
std::optional<StepOutcome> ReadStepOutcome(std::string_view text);

// The lines, for the step to write as it goes.
std::string OutcomeHead(std::optional<std::int64_t> run);
std::string OutcomeRefusedLine(RequestRefusal refusal);
std::string OutcomeFileLine(const std::string& name, StampReason reason);
std::string OutcomeEndLine();

} // namespace cw
