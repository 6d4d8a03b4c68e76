#include "app/AllUsersStep.h"

#include "app/CommandLine.h"
#include "app/StepOutcome.h"
#include "app/StepRequest.h"
#include "fs/GuardedFile.h"
#include "fs/GuardedStamp.h"

namespace cw {
namespace {

constexpr std::string_view kRequestEnd = ".request.txt";
constexpr std::string_view kOutcomeEnd = ".outcome.txt";
constexpr int kExitNoOutcome = 3;

bool EndsWithIgnoringCase(const std::string& text, std::string_view end) {
    if (text.size() < end.size())
        return false;
    for (size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != end[i])
            return false;
    }
    return true;
}

} // namespace

std::string OutcomePathOf(const std::string& requestPath) {
    const size_t slash = requestPath.find_last_of("\\/");
    const size_t nameLength = requestPath.size() - (slash == std::string::npos ? 0 : slash + 1);
    if (!EndsWithIgnoringCase(requestPath, kRequestEnd) || nameLength == kRequestEnd.size())
        return {};
    return requestPath.substr(0, requestPath.size() - kRequestEnd.size()) +
           std::string(kOutcomeEnd);
}

int RunAllUsersStep(const std::string& requestPath, const std::string& allUsersFolder,
                    std::uint64_t now) {
    const std::string outcomePath = OutcomePathOf(requestPath);
    if (outcomePath.empty())
        return kExitUsage;
    // Only beside a request that is there as a plain file: the step never makes a file where
    // the one who asked could not have put one.
    const GuardedRead read = GuardedFile::Read(requestPath, kMaxRequestBytes);
    if (read.fault != ReadFault::None && read.fault != ReadFault::TooLarge)
        return kExitNoOutcome;
    GuardedFile outcome(outcomePath);
    if (!outcome)
        return kExitNoOutcome;

    const auto refuse = [&](std::optional<std::int64_t> run, RequestRefusal refusal) {
        outcome.Append(OutcomeHead(run) + OutcomeRefusedLine(refusal) + OutcomeEndLine());
        outcome.Finish();
        return kExitSomeFailed;
    };
    if (read.fault == ReadFault::TooLarge)
        return refuse(std::nullopt, RequestRefusal::TooLarge);
    const StepRequestRead parsed = ReadStepRequest(read.text);
    if (!parsed.request)
        return refuse(std::nullopt, RequestRefusal::Damaged);
    const StepRequest& request = *parsed.request;
    if (const auto refusal = CheckWindow(request, now))
        return refuse(request.run, *refusal);

    // Each file's line is written as soon as it is done: a step cut short still tells which.
    if (!outcome.Append(OutcomeHead(request.run)))
        return kExitNoOutcome;
    const GuardedStamp folder(allUsersFolder);
    bool all = true;
    for (const StepFile& file : request.files) {
        StampReason reason = CheckPlanned(request, file);
        if (reason == StampReason::Stamped)
            reason =
                folder.Stamp(file.name, TargetTimes(request, file), ExpectedWritten(request, file));
        all = all && reason == StampReason::Stamped;
        if (!outcome.Append(OutcomeFileLine(file.name, reason)))
            break; // no file is stamped that the outcome cannot name
    }
    outcome.Append(OutcomeEndLine());
    const bool written = outcome.Finish();
    return all && written ? kExitDone : kExitSomeFailed;
}

} // namespace cw
