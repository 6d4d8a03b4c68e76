#include "app/StepRequest.h"

#include "app/JournalText.h"
#include "app/Runs.h"
#include "fs/KeywordName.h"

#include <charconv>
#include <unordered_set>

namespace cw {
namespace {

constexpr std::string_view kHeader = "Clutterwise all-users request 1";
// The longest a run that stamps may take; its request is written within it.
constexpr std::uint64_t kLongestRun = 86'400ull * kTicksPerSecond;

constexpr KeywordName<RequestRefusal> kRefusals[] = {
    {RequestRefusal::TooLarge, "too-large", "the request is too large"},
    {RequestRefusal::Damaged, "damaged", "the request is damaged"},
    {RequestRefusal::Window, "window", "the run's time window is not one the program makes"},
};

// A whole number as the writer gives it: digits only, no leading zero, at most 12 of them.
std::optional<std::int64_t> ParseCount(std::string_view text) {
    if (text.empty() || text.size() > 12 || (text[0] == '0' && text.size() > 1) ||
        text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Takes the text before the next `separator` off `text`, the separator too; false when there is
// no separator.
bool TakeUntil(std::string_view& text, char separator, std::string_view& part) {
    const size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return false;
    part = text.substr(0, at);
    text.remove_prefix(at + 1);
    return true;
}

bool TakeField(std::string_view& line, std::string_view& field) {
    return TakeUntil(line, ' ', field);
}

// "key value" with exactly this key.
bool Keyed(std::string_view line, std::string_view key, std::string_view& value) {
    std::string_view field;
    return TakeField(line, field) && field == key && !(value = line).empty();
}

std::optional<StepFile> ParseFile(std::string_view line, StepAction action) {
    std::string_view field;
    StepFile file;
    if (!TakeField(line, field) || field != "file" || !TakeField(line, field))
        return std::nullopt;
    const auto row = ParseCount(field);
    if (!row || *row >= kMaxRequestRows)
        return std::nullopt;
    file.row = static_cast<std::int32_t>(*row);
    for (std::uint64_t* time :
         {&file.original.created, &file.original.accessed, &file.original.written}) {
        std::optional<FileTimeValue> parsed;
        if (!TakeField(line, field) || !(parsed = ParseFileTime(field)))
            return std::nullopt;
        *time = *parsed;
    }
    if (!TakeField(line, field))
        return std::nullopt;
    if (field != "-" || action == StepAction::Stamp) {
        const auto stamp = ParseFileTime(field);
        if (!stamp)
            return std::nullopt;
        file.stamp = *stamp;
    }
    if (line.empty())
        return std::nullopt;
    file.name = std::string(line);
    return file;
}

std::string TimeText(std::optional<std::uint64_t> time) {
    return time ? FormatFileTime(*time) : "-";
}

} // namespace

const char* Describe(RequestRefusal refusal) {
    return NameIn(kRefusals, refusal).text;
}

const char* Keyword(RequestRefusal refusal) {
    return NameIn(kRefusals, refusal).keyword;
}

bool RefusalOfKeyword(std::string_view word, RequestRefusal& refusal) {
    return ValueOfKeyword(kRefusals, word, refusal);
}

bool TakeLine(std::string_view& text, std::string_view& line) {
    if (!TakeUntil(text, '\n', line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

bool FitsOnALine(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    return IsUtf8(text);
}

StepRequestRead ReadStepRequest(std::string_view text) {
    StepRequestRead result;
    if (text.size() > kMaxRequestBytes)
        return result;
    StepRequest request;
    std::unordered_set<std::string_view> names;
    bool ended = false;
    int number = 0;
    std::string_view line;
    while (!text.empty()) {
        if (!TakeLine(text, line))
            return {std::nullopt, number + 1}; // cut short: the last line has no end
        result.line = ++number;
        if (ended || !FitsOnALine(line))
            return result;
        std::string_view value;
        bool good = false;
        switch (number) {
        case 1:
            good = line == kHeader;
            break;
        case 2:
            if (const auto run = Keyed(line, "run", value) ? ParseCount(value) : std::nullopt)
                good = *run > 0 && (request.run = *run, true);
            break;
        case 3:
            good = Keyed(line, "action", value) && (value == "stamp" || value == "restore");
            request.action = value == "restore" ? StepAction::Restore : StepAction::Stamp;
            break;
        case 4:
            good = line == "folder all-users";
            break;
        case 5:
        case 6:
            if (const auto time = Keyed(line, number == 5 ? "started" : "until", value)
                                      ? ParseFileTime(value)
                                      : std::nullopt)
                good = ((number == 5 ? request.started : request.until) = *time, true);
            break;
        case 7:
            good = line == "step +60" || line == "step -60";
            request.step = line == "step -60" ? std::int16_t{-60} : std::int16_t{60};
            break;
        default:
            if (line == "end") {
                good = ended = true;
            } else if (auto file = ParseFile(line, request.action);
                       file && request.files.size() < kMaxRequestFiles) {
                request.files.push_back(std::move(*file));
                good = true;
            }
        }
        if (!good)
            return result;
    }
    if (!ended)
        return {std::nullopt, 0};
    // One file named twice would be stamped twice, the second time against the first stamp.
    for (const StepFile& file : request.files)
        if (!names.insert(file.name).second)
            return {std::nullopt, 0};
    result.request = std::move(request);
    result.line = 0;
    return result;
}

std::optional<std::string> WriteStepRequest(const StepRequest& request) {
    std::string text;
    text.append(kHeader).append("\nrun ").append(std::to_string(request.run));
    text.append(request.action == StepAction::Restore ? "\naction restore" : "\naction stamp");
    text.append("\nfolder all-users\nstarted ").append(FormatFileTime(request.started));
    text.append("\nuntil ").append(FormatFileTime(request.until));
    text.append(request.step < 0 ? "\nstep -60\n" : "\nstep +60\n");
    for (const StepFile& file : request.files) {
        if (file.name.empty() || !FitsOnALine(file.name))
            return std::nullopt;
        text.append("file ").append(std::to_string(file.row));
        for (const std::uint64_t time :
             {file.original.created, file.original.accessed, file.original.written})
            text.append(" ").append(FormatFileTime(time));
        text.append(" ").append(TimeText(file.stamp)).append(" ").append(file.name).append("\n");
    }
    text.append("end\n");
    return text;
}

std::optional<RequestRefusal> CheckWindow(const StepRequest& request, std::uint64_t now) {
    if ((request.step != 60 && request.step != -60) || request.started > request.until ||
        request.until > now + static_cast<std::uint64_t>(kTicksPerSecond))
        return RequestRefusal::Window;
    if (request.action == StepAction::Stamp && request.until - request.started > kLongestRun)
        return RequestRefusal::Window;
    return std::nullopt;
}

StampReason CheckPlanned(const StepRequest& request, const StepFile& file) {
    const std::int64_t offset = static_cast<std::int64_t>(request.step) * file.row;
    if (file.stamp && !MayBeStampOfRun(*file.stamp, offset, request.started, request.until))
        return StampReason::NotPlanned;
    if (request.action == StepAction::Stamp)
        return file.stamp ? StampReason::Stamped : StampReason::NotPlanned;
    const StampTimes& back = file.original;
    return back.created && back.accessed && back.written ? StampReason::Stamped
                                                         : StampReason::NotPlanned;
}

StampTimes TargetTimes(const StepRequest& request, const StepFile& file) {
    if (request.action == StepAction::Restore)
        return file.original;
    const std::uint64_t stamp = file.stamp.value_or(0);
    return {stamp, stamp, stamp};
}

WrittenCheck ExpectedWritten(const StepRequest& request, const StepFile& file) {
    const std::int64_t offset = static_cast<std::int64_t>(request.step) * file.row;
    // As Undo judges a file of the user's own folder: its original time or the run's stamp.
    return [original = file.original.written, stamp = file.stamp, offset, from = request.started,
            until = request.until,
            known = request.action == StepAction::Stamp || file.stamp](std::uint64_t written) {
        return written == original ||
               (known ? written == stamp : MayBeStampOfRun(written, offset, from, until));
    };
}

} // namespace cw
