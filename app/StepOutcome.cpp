#include "app/StepOutcome.h"

#include <charconv>

namespace cw {
namespace {

constexpr std::string_view kHeader = "Clutterwise all-users outcome 1";

} // namespace

std::optional<StepOutcome> ReadStepOutcome(std::string_view text) {
    if (text.size() > kMaxRequestBytes)
        return std::nullopt;
    StepOutcome outcome;
    int number = 0;
    std::string_view line;
    while (TakeLine(text, line)) { // what is left then is nothing, or a line cut short
        ++number;
        if (outcome.finished || line.empty() || !FitsOnALine(line))
            return std::nullopt;
        if (number == 1) {
            if (line != kHeader)
                return std::nullopt;
            continue;
        }
        const size_t blank = line.find(' ');
        const std::string_view key = line.substr(0, blank);
        const std::string_view rest =
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        if (key == "end" && rest.empty()) {
            outcome.finished = true;
        } else if (key == "run" && number == 2) {
            std::int64_t run = 0;
            const auto [last, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), run);
            if (ec != std::errc() || last != rest.data() + rest.size() || run <= 0 ||
                rest[0] == '0')
                return std::nullopt;
            outcome.run = run;
        } else if (key == "refused" && !outcome.refused && outcome.files.empty()) {
            RequestRefusal refusal;
            if (!RefusalOfKeyword(rest, refusal))
                return std::nullopt;
            outcome.refused = refusal;
        } else if (key == "file" && !outcome.refused && outcome.run) {
            const size_t split = rest.find(' ');
            OutcomeFile file;
            if (split == std::string_view::npos ||
                !ReasonOfKeyword(rest.substr(0, split), file.reason) || split + 1 == rest.size())
                return std::nullopt;
            file.name = std::string(rest.substr(split + 1));
            outcome.files.push_back(std::move(file));
        } else {
            return std::nullopt;
        }
    }
    if (number == 0)
        return std::nullopt;
    return outcome;
}

std::string OutcomeHead(std::optional<std::int64_t> run) {
    std::string text = std::string(kHeader) + "\n";
    if (run)
        text += "run " + std::to_string(*run) + "\n";
    return text;
}

std::string OutcomeRefusedLine(RequestRefusal refusal) {
    return std::string("refused ") + Keyword(refusal) + "\n";
}

std::string OutcomeFileLine(const std::string& name, StampReason reason) {
    return std::string("file ") + Keyword(reason) + " " + name + "\n";
}

std::string OutcomeEndLine() {
    return "end\n";
}

} // namespace cw
