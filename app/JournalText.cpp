#include "app/JournalText.h"

#include "app/PlannedFiles.h"

#include <charconv>
#include <unordered_set>
#include <utility>

namespace cw {
namespace {

constexpr std::string_view kHeader = "Clutterwise journal ";
constexpr std::string_view kLegend =
    "# Times in UTC to 100 ns. file: offset in seconds, original creation, last-access and\n"
    "# last-write time, the time the run wrote (\"-\" until it has), full path.\n";

// Beyond this the platform refuses a file time.
constexpr FileTimeValue kLastFileTime = 0x7FFF'FFFF'FFFF'FFFFull;
constexpr std::int64_t kMaxNumber = 999'999'999'999;

// Exactly `width` decimal digits.
template <typename T> bool Digits(std::string_view text, size_t at, size_t width, T& value) {
    if (at + width > text.size())
        return false;
    value = 0;
    for (size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = static_cast<T>(value * 10 + static_cast<T>(text[i] - '0'));
    }
    return true;
}

// A whole number as the writer gives it: no blanks, no leading zeros, no "+" unless `sign`.
std::optional<std::int64_t> ParseNumber(std::string_view text, bool sign) {
    bool negative = false;
    if (sign) {
        if (text.empty() || (text[0] != '+' && text[0] != '-'))
            return std::nullopt;
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12 || (text[0] == '0' && text.size() > 1) ||
        (negative && text == "0"))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::string Signed(std::int64_t value) {
    return (value < 0 ? "" : "+") + std::to_string(value);
}

bool FitsOnALine(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return IsUtf8(text);
}

// What a line cannot hold, and the "<" that starts an escape, is written "<7F>". No Windows file
// name holds "<", so no name reads as an escape by chance.
bool IsEscaped(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '<';
}

// Appends `text` escaped, then a line end; false when it is not UTF-8, which no line holds.
bool AppendText(std::string& line, std::string_view text) {
    if (!IsUtf8(text))
        return false;
    static constexpr char kHex[] = "0123456789ABCDEF";
    // The text between escapes in one piece: a journal holds a path per file.
    size_t plain = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (!IsEscaped(byte))
            continue;
        line.append(text.substr(plain, at - plain));
        line.append({'<', kHex[byte >> 4], kHex[byte & 15], '>'});
        plain = at + 1;
    }
    line.append(text.substr(plain)) += '\n';
    return true;
}

// The text a field stands for; nothing for an escape the writer would not have written.
std::optional<std::string> Unescape(std::string_view field) {
    const auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (field.find('<') == std::string_view::npos)
        return std::string(field); // most names: nothing escaped
    std::string text;
    text.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '<') {
            text += field[i];
            continue;
        }
        if (i + 3 >= field.size() || field[i + 3] != '>')
            return std::nullopt;
        const int high = hex(field[i + 1]), low = hex(field[i + 2]);
        if (high < 0 || low < 0 || !IsEscaped(static_cast<unsigned char>(high * 16 + low)))
            return std::nullopt;
        text += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return text;
}

// The lines of a text, each without its line end ("\n" or "\r\n").
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (at_ >= text_.size())
            return false;
        size_t end = text_.find('\n', at_);
        terminated_ = end != std::string_view::npos;
        if (!terminated_)
            end = text_.size();
        line = text_.substr(at_, end - at_);
        if (terminated_ && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        at_ = end + 1;
        ++number_;
        return true;
    }
    int Number() const { return number_; }
    bool Terminated() const { return terminated_; }

private:
    std::string_view text_;
    size_t at_ = 0;
    int number_ = 0;
    bool terminated_ = false;
};

// Splits the first blank-separated field off `rest`.
std::string_view Field(std::string_view& rest) {
    const size_t blank = rest.find(' ');
    const std::string_view field = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return field;
}

// Appends "2026-05-12T08:15:00.1234567Z" and `after`, written by hand: a journal holds four of
// these per file, and a formatting library call each is most of the cost of writing one.
void AppendFileTime(std::string& text, FileTimeValue value, char after) {
    const auto ticks = static_cast<std::int64_t>(value & kLastFileTime); // the writer checks
    const std::int64_t seconds = ticks / kTicksPerSecond;
    const CivilDate date = CivilFromDays(seconds / kSecondsPerDay - kFileTimeEpochDays);
    const std::int64_t inDay = seconds % kSecondsPerDay;
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* at = end;
    if (after)
        *--at = after;
    const auto put = [&](std::int64_t number, int width, char before) {
        for (int i = 0; i < width || number > 0; ++i, number /= 10)
            *--at = static_cast<char>('0' + number % 10);
        if (before)
            *--at = before;
    };
    *--at = 'Z';
    put(ticks % kTicksPerSecond, 7, '.');
    put(inDay % 60, 2, ':');
    put(inDay / 60 % 60, 2, ':');
    put(inDay / 3600, 2, 'T');
    put(date.day, 2, '-');
    put(date.month, 2, '-');
    put(date.year, 4, 0);
    text.append(at, end);
}

} // namespace

std::string FormatFileTime(FileTimeValue value) {
    std::string text;
    AppendFileTime(text, value, 0);
    return text;
}

std::optional<FileTimeValue> ParseFileTime(std::string_view text) {
    // The year has four digits, or five without a leading zero (the platform's times reach 30828).
    const size_t yearWidth = text.size() == 29 ? 5 : 4;
    if (text.size() != 24 + yearWidth || (yearWidth == 5 && text[0] == '0'))
        return std::nullopt;
    std::int64_t year = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::int64_t fraction = 0;
    const size_t y = yearWidth;
    if (!Digits(text, 0, y, year) || text[y] != '-' || !Digits(text, y + 1, 2, month) ||
        text[y + 3] != '-' || !Digits(text, y + 4, 2, day) || text[y + 6] != 'T' ||
        !Digits(text, y + 7, 2, hour) || text[y + 9] != ':' || !Digits(text, y + 10, 2, minute) ||
        text[y + 12] != ':' || !Digits(text, y + 13, 2, second) || text[y + 15] != '.' ||
        !Digits(text, y + 16, 7, fraction) || text[y + 23] != 'Z')
        return std::nullopt;
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const std::int64_t days = DaysFromCivil({year, month, day}) + kFileTimeEpochDays;
    const std::int64_t seconds = (days * 24 + hour) * 3600 + minute * 60 + second;
    if (seconds > static_cast<std::int64_t>(kLastFileTime / kTicksPerSecond))
        return std::nullopt;
    const auto value = static_cast<FileTimeValue>(seconds) * kTicksPerSecond +
                       static_cast<FileTimeValue>(fraction);
    if (value > kLastFileTime)
        return std::nullopt;
    return value;
}

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        unsigned code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        // Over-long forms, surrogates and code points beyond Unicode are not UTF-8.
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

std::optional<std::string> WriteJournal(const JournalRun& run) {
    if (run.number < 1 || run.number > kMaxNumber || run.folder.empty() ||
        run.started > kLastFileTime || run.finished.value_or(0) > kLastFileTime ||
        run.undone.value_or(0) > kLastFileTime)
        return std::nullopt;
    std::string text;
    text.reserve(200 + run.order.size() * 24 + run.files.size() * (160 + run.folder.size()));
    text.append(kHeader).append(std::to_string(kJournalVersion)).append("\n").append(kLegend);
    text.append("run ").append(std::to_string(run.number)).append("\n");
    text.append(run.kind == RunKind::Reapply ? "kind reapply\n" : "kind process\n");
    AppendFileTime(text.append("started "), run.started, '\n');
    if (!AppendText(text.append("folder "), run.folder))
        return std::nullopt;
    if (!run.allUsersFolder.empty() && !AppendText(text.append("all-users "), run.allUsersFolder))
        return std::nullopt;
    text.append(run.step < 0 ? "method descending\n" : "method ascending\n");
    for (const OrderRow& row : run.order)
        if (row.name.empty() ||
            !AppendText(text.append(row.allUsers ? "order all-users " : "order user "), row.name))
            return std::nullopt;
    for (const JournalEntry& file : run.files) {
        if (file.path.empty() || file.original.created > kLastFileTime ||
            file.original.accessed > kLastFileTime || file.original.written > kLastFileTime ||
            file.stamped.value_or(0) > kLastFileTime)
            return std::nullopt;
        text.append("file ").append(Signed(file.offset)).append(" ");
        for (const FileTimeValue t :
             {file.original.created, file.original.accessed, file.original.written})
            AppendFileTime(text, t, ' ');
        if (file.stamped)
            AppendFileTime(text, *file.stamped, ' ');
        else
            text.append("- ");
        if (!AppendText(text, file.path))
            return std::nullopt;
    }
    for (const std::string& path : run.pending)
        if (!AppendText(text.append("pending "), path))
            return std::nullopt;
    if (run.finished)
        AppendFileTime(text.append("finished "), *run.finished, '\n');
    if (run.undone)
        AppendFileTime(text.append("undone "), *run.undone, '\n');
    text.append("end\n");
    return text;
}

JournalReadResult ReadJournal(std::string_view text, bool summary) {
    // Some editors save a byte-order mark: the text is UTF-8 either way.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    JournalRun run;
    Lines lines(text);
    std::string_view line;
    const auto fail = [&](std::string what) {
        return JournalReadResult{std::nullopt, lines.Number(), std::move(what)};
    };

    if (!lines.Next(line))
        return {std::nullopt, 0, "the journal is empty"};
    if (line.substr(0, kHeader.size()) != kHeader)
        return fail("not a journal");
    // Version 1 wrote the titles of the user's folder's ".lnk" files only.
    const std::string_view version = line.substr(kHeader.size());
    const bool titlesOnly = version == "1";
    if (!titlesOnly && version != std::to_string(kJournalVersion))
        return fail("journal version " + std::string(version) + " cannot be read");

    bool seenRun = false, seenKind = false, seenStarted = false, seenFolder = false,
         seenAllUsers = false, seenMethod = false, ended = false;
    std::optional<PlannedNames> planned; // of the whole order, once the first file line comes
    std::optional<std::unordered_set<std::string_view>> paths; // of the files, once pending
    const auto once = [](bool& seen) { return !std::exchange(seen, true); };
    const auto time = [](std::string_view field, FileTimeValue& value) {
        const auto parsed = ParseFileTime(field);
        if (parsed)
            value = *parsed;
        return parsed.has_value();
    };
    while (lines.Next(line)) {
        if (ended)
            return fail("text after 'end'");
        if (!FitsOnALine(line))
            return fail("a control character or text that is not UTF-8");
        if (line.empty() || line[0] == '#')
            continue;
        std::string_view rest = line;
        const std::string_view key = Field(rest);
        if (key == "run") {
            const auto number = ParseNumber(rest, false);
            if (!once(seenRun) || !number || *number < 1 || *number > kMaxNumber)
                return fail("a bad or second run number");
            run.number = *number;
        } else if (key == "kind") {
            if (!once(seenKind) || (rest != "process" && rest != "reapply"))
                return fail("a bad or second kind");
            run.kind = rest == "reapply" ? RunKind::Reapply : RunKind::Process;
        } else if (key == "started") {
            if (!once(seenStarted) || !time(rest, run.started))
                return fail("a bad or second start time");
        } else if (key == "folder") {
            auto folder = Unescape(rest);
            if (!once(seenFolder) || !folder || folder->empty())
                return fail("a bad or second folder");
            run.folder = std::move(*folder);
        } else if (key == "all-users" && !titlesOnly) {
            auto folder = Unescape(rest);
            if (!once(seenAllUsers) || !folder || folder->empty())
                return fail("a bad or second all-users folder");
            run.allUsersFolder = std::move(*folder);
        } else if (key == "method") {
            if (!once(seenMethod) || (rest != "ascending" && rest != "descending"))
                return fail("a bad or second method");
            run.step = static_cast<std::int16_t>(rest == "ascending" ? 60 : -60);
        } else if (key == "order") {
            OrderRow row;
            if (titlesOnly) {
                auto title = Unescape(rest);
                if (title)
                    row.name = std::move(*title) + kShortcutExtensions[0];
            } else {
                const std::string_view where = Field(rest);
                auto name = Unescape(rest);
                if ((where == "user" || where == "all-users") && name && IsShortcutName(*name)) {
                    row.allUsers = where == "all-users";
                    row.name = std::move(*name);
                }
            }
            if (planned || row.name.empty())
                return fail("a bad order line, or one after the files");
            run.order.push_back(std::move(row));
        } else if (key == "file") {
            if (paths)
                return fail("a file line after the pending ones");
            JournalEntry file;
            const auto offset = ParseNumber(Field(rest), true);
            if (!offset || !time(Field(rest), file.original.created) ||
                !time(Field(rest), file.original.accessed) ||
                !time(Field(rest), file.original.written))
                return fail("a bad file line");
            const std::string_view stamped = Field(rest);
            if (stamped != "-") {
                FileTimeValue value = 0;
                if (!time(stamped, value))
                    return fail("a bad file line");
                file.stamped = value;
            }
            auto path = Unescape(rest);
            if (!path || path->empty())
                return fail("a file line without a path");
            if (!planned)
                planned = PlannedNamesOf(run.order);
            const std::string folders[] = {run.folder, run.allUsersFolder};
            if (!IsPlannedFile(*path, folders, *planned))
                return fail("a file the run does not plan (outside its folder, not one of its "
                            "rows, or not a shortcut)");
            file.offset = *offset;
            file.path = std::move(*path);
            run.files.push_back(std::move(file));
        } else if (key == "pending") {
            if (!paths) {
                paths.emplace();
                for (const JournalEntry& file : run.files)
                    paths->insert(file.path);
            }
            auto path = Unescape(rest);
            if (!path || (!summary && paths->count(*path) == 0))
                return fail("a pending file that is not one of the run's files");
            run.pending.push_back(std::move(*path));
        } else if (key == "finished" || key == "undone") {
            std::optional<FileTimeValue>& slot = key == "finished" ? run.finished : run.undone;
            FileTimeValue value = 0;
            if (slot || !time(rest, value))
                return fail("a bad or second '" + std::string(key) + "' time");
            slot = value;
        } else if (key == "end" && rest.empty() && line.size() == 3) {
            ended = true;
            if (!lines.Terminated())
                return fail("'end' without its line end");
        } else {
            return fail("an unknown line");
        }
    }
    if (!ended)
        return {std::nullopt, lines.Number(), "the journal is cut short (no 'end')"};
    if (!seenRun || !seenKind || !seenStarted || !seenFolder || !seenMethod)
        return {std::nullopt, 0, "the run, its kind, start, folder or method is missing"};
    if (run.undone && !run.pending.empty())
        return {std::nullopt, 0, "a run undone with files still to restore"};
    return {std::move(run), 0, {}};
}

} // namespace cw
