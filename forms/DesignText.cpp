#include "forms/DesignText.h"

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

void WriteBag(std::string& out, const PropertyBag& bag, const std::string& indent) {
    for (const PropertyBag::Entry& e : bag.Entries()) {
        out += indent + e.key + " =";
        if (!e.text.empty())
            out += " " + e.text;
        out += "\n";
    }
}

void WriteNode(std::string& out, const DesignNode& node, int depth) {
    const std::string indent(static_cast<size_t>(depth) * 4, ' ');
    const std::string inner = indent + "    ";
    out += indent + "begin " + node.kind + " " + node.name + "\n";
    WriteBag(out, node.properties, inner);
    if (node.hasBag) {
        out += inner + "begin bag\n";
        WriteBag(out, node.bag, inner + "    ");
        out += inner + "end\n";
    }
    for (const DesignNode& child : node.children)
        WriteNode(out, child, depth + 1);
    out += indent + "end\n";
}

} // namespace

DesignReadResult ReadDesign(std::string_view text) {
    return Reader(text).Read();
}

std::string WriteDesign(const DesignNode& design) {
    std::string out;
    WriteNode(out, design, 0);
    return out;
}

std::string DescribeDesignError(const DesignError& error) {
    if (error.line <= 0)
        return error.message;
    return "line " + std::to_string(error.line) + ": " + error.message;
}

} // namespace cw
