#include "forms/DesignText.h"

#include <map>
#include <utility>
#include <vector>

namespace cw {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
} // stray CRs of damaged line ends too

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        const size_t start = i;
        while (i < s.size() && !IsBlank(s[i]))
            ++i;
        if (i > start)
            words.push_back(s.substr(start, i - start));
    }
    return words;
}

// Kinds and names are identifiers, so that they are also valid handler-name parts.
bool IsIdentifier(std::string_view s) {
    if (s.empty() || s.size() > 255)
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

bool IsValidKey(std::string_view key) {
    if (key.empty() || key.front() == '#')
        return false;
    for (const char c : key)
        if (IsBlank(c) || c == '=' || c == '\r' || c == '\n')
            return false;
    return true;
}

// Text from the file as a message quotes it: at most its first 80 characters (a 10 MB key would
// leave a message box empty), cut between whole UTF-8 characters.
std::string Quote(std::string_view text) {
    constexpr int kLongest = 80;
    size_t end = 0;
    for (int characters = 0; end < text.size(); ++end)
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && characters++ == kLongest)
            return std::string(text.substr(0, end)) + "...";
    return std::string(text);
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            text_.remove_prefix(3);
    }

    DesignReadResult Read() {
        int lineNumber = 0;
        size_t pos = 0;
        while (pos <= text_.size()) {
            const size_t eol = text_.find('\n', pos);
            std::string_view line =
                text_.substr(pos, eol == std::string_view::npos ? eol : eol - pos);
            pos = eol == std::string_view::npos ? text_.size() + 1 : eol + 1;
            ++lineNumber;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (!Line(Trim(line), lineNumber))
                return Failure();
        }
        if (!stack_.empty()) {
            const DesignNode& open = *stack_.back();
            return Fail(inBag_ ? bagLine_ : open.line,
                        inBag_ ? "'begin bag' of " + Quote(open.name) + " has no 'end'"
                               : "'begin " + Quote(open.kind) + " " + Quote(open.name) +
                                     "' has no 'end'");
        }
        if (!root_)
            return Fail(0, "the design holds no 'begin Form <name>'");
        DesignReadResult result;
        result.design = std::move(root_);
        return result;
    }

private:
    bool Line(std::string_view line, int number) {
        if (line.empty() || line.front() == '#')
            return true;
        const size_t equals = line.find('=');
        const std::vector<std::string_view> words = Words(line);
        if (equals == std::string_view::npos && EqualsNoCase(words[0], "begin"))
            return Begin(words, number);
        if (equals == std::string_view::npos && EqualsNoCase(words[0], "end"))
            return End(words, number);
        if (equals == std::string_view::npos)
            return Error(number, "expected 'key = value', 'begin' or 'end'");
        const std::string_view key = Trim(line.substr(0, equals));
        if (!IsValidKey(key))
            return Error(number, "'" + Quote(key) + "' is not a key");
        if (stack_.empty())
            return Error(number, "a value outside 'begin Form' ... 'end'");
        DesignNode& node = *stack_.back();
        (inBag_ ? node.bag : node.properties)
            .SetText(key, std::string(Trim(line.substr(equals + 1))));
        return true;
    }

    bool Begin(const std::vector<std::string_view>& words, int number) {
        if (inBag_)
            return Error(number, "'begin' inside a bag");
        if (words.size() == 2 && EqualsNoCase(words[1], "bag")) {
            if (stack_.size() < 2)
                return Error(number, "a bag belongs to a control, not to the window");
            DesignNode& node = *stack_.back();
            if (node.hasBag)
                return Error(number, Quote(node.name) + " has a bag already");
            node.hasBag = true;
            inBag_ = true;
            bagLine_ = number;
            return true;
        }
        if (words.size() != 3)
            return Error(number, "expected 'begin <Kind> <Name>'");
        if (!IsIdentifier(words[1]) || !IsIdentifier(words[2]))
            return Error(number,
                         "kinds and names are letters, digits and '_', not starting with a digit");
        const bool isForm = EqualsNoCase(words[1], "Form");
        if (stack_.empty()) {
            if (root_)
                return Error(number, "a design holds one window only");
            if (!isForm)
                return Error(number, "the design must begin with 'begin Form <name>'");
            root_.emplace();
            Open(*root_, words, number);
            return true;
        }
        if (isForm)
            return Error(number, "a form cannot be placed on another window");
        if (static_cast<int>(stack_.size()) > kMaxDesignDepth)
            return Error(number, "controls nest too deep");
        for (const std::string& name : names_)
            if (EqualsNoCase(name, words[2]))
                return Error(number, "a second control named " + Quote(words[2]));
        DesignNode& child = stack_.back()->children.emplace_back();
        Open(child, words, number);
        return true;
    }

    void Open(DesignNode& node, const std::vector<std::string_view>& words, int number) {
        node.kind = std::string(words[1]);
        node.name = std::string(words[2]);
        node.line = number;
        names_.push_back(node.name);
        // Children are added only to the innermost node, so pointers to the open ones stay valid.
        stack_.push_back(&node);
    }

    bool End(const std::vector<std::string_view>& words, int number) {
        if (words.size() != 1)
            return Error(number, "'end' stands alone on its line");
        if (inBag_) {
            inBag_ = false;
            return true;
        }
        if (stack_.empty())
            return Error(number, "'end' without 'begin'");
        stack_.pop_back();
        return true;
    }

    bool Error(int line, std::string message) {
        error_ = {line, std::move(message)};
        return false;
    }

    DesignReadResult Fail(int line, std::string message) {
        Error(line, std::move(message));
        return Failure();
    }

    DesignReadResult Failure() {
        DesignReadResult result;
        result.error = error_;
        return result;
    }

    std::string_view text_;
    std::optional<DesignNode> root_;
    std::vector<DesignNode*> stack_;
    std::vector<std::string> names_;
    bool inBag_ = false;
    int bagLine_ = 0;
    DesignError error_;
};

std::string KeyLine(const std::string& indent, std::string_view key, const std::string& text,
                    const std::string& eol) {
    return indent + std::string(key) + " =" + (text.empty() ? "" : " " + text) + eol;
}

void WriteBag(std::string& out, const PropertyBag& bag, const std::string& indent,
              const std::string& eol) {
    for (const PropertyBag::Entry& e : bag.Entries())
        out += KeyLine(indent, e.key, e.text, eol);
}

void WriteNode(std::string& out, const DesignNode& node, const std::string& indent,
               const std::string& eol) {
    const std::string inner = indent + "    ";
    out += indent + "begin " + node.kind + " " + node.name + eol;
    WriteBag(out, node.properties, inner, eol);
    if (node.hasBag) {
        out += inner + "begin bag" + eol;
        WriteBag(out, node.bag, inner + "    ", eol);
        out += inner + "end" + eol;
    }
    for (const DesignNode& child : node.children)
        WriteNode(out, child, inner, eol);
    out += indent + "end" + eol;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

const DesignNode* FindEntry(const std::vector<DesignNode>& entries, const std::string& name) {
    for (const DesignNode& entry : entries)
        if (EqualsNoCase(entry.name, name))
            return &entry;
    return nullptr;
}

// Makes the changes between two designs in the text the first was read from, line by line. The
// text is mapped as the reader reads it: where each entry begins and ends, where its bag is and
// on which lines its keys stand.
class TextUpdate {
public:
    explicit TextUpdate(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            bom_ = text.substr(0, 3);
            text.remove_prefix(3);
        }
        eol_ = text.find("\r\n") == std::string_view::npos ? "\n" : "\r\n";
        for (size_t pos = 0; pos < text.size();) {
            const size_t eol = text.find('\n', pos);
            const size_t next = eol == std::string_view::npos ? text.size() : eol + 1;
            lines_.push_back(text.substr(pos, next - pos));
            pos = next;
        }
        replaced_.resize(lines_.size());
        removed_.resize(lines_.size());
        inserted_.resize(lines_.size() + 1);
        Map();
    }

    void Update(const DesignNode& before, const DesignNode& after) {
        const auto found = entries_.find(Lower(after.name));
        if (found == entries_.end())
            return; // not in the text: nothing to change it by
        Entry& entry = found->second;
        const std::string inner = entry.indent + "    ";
        Update(entry.properties, before.properties, after.properties, inner);
        if (entry.bag.at && !after.hasBag) {
            Remove(*entry.bag.at, entry.bagEnd);
        } else if (entry.bag.at) {
            Update(entry.bag, before.bag, after.bag, inner + "    ");
        } else if (after.hasBag && !after.bag.Empty() &&
                   !(before.hasBag && before.bag == after.bag)) {
            std::string& out = inserted_[entry.properties.last + 1];
            out += inner + "begin bag" + eol_;
            WriteBag(out, after.bag, inner + "    ", eol_);
            out += inner + "end" + eol_;
        }
        for (const DesignNode& child : after.children) {
            if (const DesignNode* old = FindEntry(before.children, child.name))
                Update(*old, child);
            else
                WriteNode(inserted_[entry.end], child, inner, eol_);
        }
        for (const DesignNode& child : before.children)
            if (const auto gone = entries_.find(Lower(child.name));
                gone != entries_.end() && !FindEntry(after.children, child.name))
                Remove(gone->second.begin, gone->second.end);
    }

    std::string Text() const {
        std::string out(bom_);
        for (size_t i = 0; i < lines_.size(); ++i) {
            out += inserted_[i];
            if (removed_[i])
                continue;
            if (!replaced_[i]) {
                out += lines_[i];
                continue;
            }
            out += *replaced_[i];
            out += lines_[i].substr(Content(lines_[i]).size()); // the line's own end
        }
        return out + inserted_[lines_.size()];
    }

private:
    struct Section {
        std::optional<size_t> at;                         // the line that opens a bag
        size_t last = 0;                                  // a new key goes after this line
        std::vector<std::pair<std::string, size_t>> keys; // lower-case key, line
    };
    struct Entry {
        size_t begin = 0, end = 0, bagEnd = 0;
        std::string indent;
        Section properties, bag;
    };

    // A line without its line end.
    static std::string_view Content(std::string_view line) {
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

    void Map() {
        std::vector<Entry*> open;
        bool inBag = false;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const std::string_view line = Trim(Content(lines_[i]));
            if (line.empty() || line.front() == '#')
                continue;
            const size_t equals = line.find('=');
            const std::vector<std::string_view> words = Words(line);
            if (equals == std::string_view::npos && EqualsNoCase(words[0], "begin")) {
                if (words.size() == 2 && !open.empty()) {
                    open.back()->bag.at = open.back()->bag.last = i;
                    inBag = true;
                } else if (words.size() == 3) {
                    Entry& entry = entries_[Lower(words[2])];
                    entry.begin = i;
                    entry.properties.last = i;
                    const std::string_view raw = Content(lines_[i]);
                    entry.indent = std::string(raw.substr(0, raw.find_first_not_of(" \t")));
                    open.push_back(&entry);
                }
            } else if (equals == std::string_view::npos && !open.empty()) {
                (inBag ? open.back()->bagEnd : open.back()->end) = i;
                if (!std::exchange(inBag, false))
                    open.pop_back();
            } else if (!open.empty()) {
                Section& section = inBag ? open.back()->bag : open.back()->properties;
                section.keys.emplace_back(Lower(Trim(line.substr(0, equals))), i);
                section.last = i;
            }
        }
    }

    void Update(const Section& section, const PropertyBag& before, const PropertyBag& after,
                const std::string& indent) {
        for (const PropertyBag::Entry& e : after.Entries()) {
            if (before.Text(e.key) == e.text)
                continue;
            // A key given twice holds the first one's place with the last one's value.
            std::optional<size_t> at;
            for (const auto& [key, line] : section.keys)
                if (key == e.key && !at)
                    at = line;
            if (!at) {
                inserted_[section.last + 1] += KeyLine(indent, e.key, e.text, eol_);
                continue;
            }
            // The line keeps its place, its indent and the key as the file spells it.
            const std::string_view raw = Content(lines_[*at]);
            const size_t keyStart = raw.find_first_not_of(" \t");
            const std::string_view key = Trim(raw.substr(keyStart, raw.find('=') - keyStart));
            replaced_[*at] = KeyLine(std::string(raw.substr(0, keyStart)), key, e.text, "");
            for (const auto& [other, line] : section.keys)
                if (other == e.key && line != *at)
                    removed_[line] = true; // a value the reader never kept
        }
        for (const PropertyBag::Entry& e : before.Entries())
            if (!after.Text(e.key))
                for (const auto& [key, line] : section.keys)
                    if (key == e.key)
                        removed_[line] = true;
    }

    void Remove(size_t first, size_t last) {
        for (size_t i = first; i <= last && i < lines_.size(); ++i)
            removed_[i] = true;
    }

    std::string_view bom_;
    std::string eol_;
    std::vector<std::string_view> lines_;  // each with its own line end
    std::map<std::string, Entry> entries_; // by lower-case name
    std::vector<std::optional<std::string>> replaced_;
    std::vector<bool> removed_;
    std::vector<std::string> inserted_; // before each line, and after the last
};

} // namespace

DesignReadResult ReadDesign(std::string_view text) {
    return Reader(text).Read();
}

std::string WriteDesign(const DesignNode& design) {
    std::string out;
    WriteNode(out, design, "", "\n");
    return out;
}

std::string UpdateDesignText(std::string_view text, const DesignNode& before,
                             const DesignNode& after) {
    TextUpdate update(text);
    update.Update(before, after);
    return update.Text();
}

std::string DescribeDesignError(const DesignError& error) {
    if (error.line <= 0)
        return error.message;
    return "line " + std::to_string(error.line) + ": " + error.message;
}

} // namespace cw
