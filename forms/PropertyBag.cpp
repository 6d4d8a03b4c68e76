#include "forms/PropertyBag.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace cw {
namespace {

std::string Lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    });
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::optional<bool> ParseBool(std::string_view text) {
    if (EqualsNoCase(text, "true"))
        return true;
    if (EqualsNoCase(text, "false"))
        return false;
    if (const auto n = PropertyBag::ParseInteger(text))
        return *n != 0;
    return std::nullopt;
}

template <typename T> std::optional<T> InRange(std::optional<std::int64_t> n) {
    if (!n || *n < std::numeric_limits<T>::min() || *n > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(*n);
}

// Splits "name(a, b, c)" into its arguments; quoted arguments keep their quotes.
std::optional<std::vector<std::string_view>> Call(std::string_view text, std::string_view name) {
    text = Trim(text);
    if (text.size() < name.size() + 2 || !EqualsNoCase(text.substr(0, name.size()), name))
        return std::nullopt;
    text = Trim(text.substr(name.size()));
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return std::nullopt;
    text = text.substr(1, text.size() - 2);
    std::vector<std::string_view> args;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '\\' && quoted) {
            ++i;
        } else if (i < text.size() && text[i] == '"') {
            quoted = !quoted;
        } else if (i == text.size() || (text[i] == ',' && !quoted)) {
            args.push_back(Trim(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    if (quoted)
        return std::nullopt;
    return args;
}

} // namespace

std::string PropertyBag::FormatString(const std::string& value) {
    std::string out = "\"";
    for (const char c : value) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> PropertyBag::ParseString(std::string_view text) {
    text = Trim(text);
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return std::nullopt;
    std::string out;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        char c = text[i];
        if (c == '"')
            return std::nullopt; // an unescaped quote inside
        if (c == '\\') {
            if (i + 2 >= text.size())
                return std::nullopt; // the closing quote was escaped
            switch (text[++i]) {
            case '"':
                c = '"';
                break;
            case '\\':
                c = '\\';
                break;
            case 'r':
                c = '\r';
                break;
            case 'n':
                c = '\n';
                break;
            case 't':
                c = '\t';
                break;
            default:
                return std::nullopt;
            }
        }
        out += c;
    }
    return out;
}

std::optional<std::int64_t> PropertyBag::ParseInteger(std::string_view text) {
    text = Trim(text);
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        first += 2;
        if (last[-1] == '&')
            --last;
        base = 16;
        std::uint32_t bits = 0;
        if (last - first > 8)
            return std::nullopt;
        const auto [end, error] = std::from_chars(first, last, bits, 16);
        if (error != std::errc() || end != last)
            return std::nullopt;
        return bits;
    }
    if (first == last)
        return std::nullopt;
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

std::string PropertyBag::FormatColour(Colour value) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%08X&", static_cast<unsigned>(value));
    return text;
}

std::string PropertyBag::FormatFont(const Font& value) {
    char size[32];
    std::snprintf(size, sizeof size, "%g", value.size);
    std::string out = "font(" + FormatString(value.name) + ", " + size;
    if (value.bold)
        out += ", bold";
    if (value.italic)
        out += ", italic";
    if (value.underline)
        out += ", underline";
    if (value.strikethrough)
        out += ", strikethrough";
    return out + ")";
}

std::optional<Font> PropertyBag::ParseFont(std::string_view text) {
    const auto args = Call(text, "font");
    if (!args || args->size() < 2)
        return std::nullopt;
    Font font;
    const auto name = ParseString((*args)[0]);
    if (!name || name->empty())
        return std::nullopt;
    font.name = *name;
    const std::string size((*args)[1]);
    char* end = nullptr;
    font.size = std::strtod(size.c_str(), &end);
    if (size.empty() || *end != '\0' || !(font.size > 0 && font.size < 2048))
        return std::nullopt;
    for (size_t i = 2; i < args->size(); ++i) {
        const std::string flag = Lower((*args)[i]);
        if (flag == "bold")
            font.bold = true;
        else if (flag == "italic")
            font.italic = true;
        else if (flag == "underline")
            font.underline = true;
        else if (flag == "strikethrough")
            font.strikethrough = true;
        else
            return std::nullopt;
    }
    return font;
}

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const {
    const std::string lower = Lower(key);
    for (const Entry& e : entries_)
        if (e.key == lower)
            return &e;
    return nullptr;
}

std::optional<std::string> PropertyBag::Text(std::string_view key) const {
    if (const Entry* e = Find(key))
        return e->text;
    return std::nullopt;
}

void PropertyBag::SetText(std::string_view key, std::string text) {
    if (const Entry* e = Find(key))
        const_cast<Entry*>(e)->text = std::move(text);
    else
        entries_.push_back({Lower(key), std::move(text)});
}

void PropertyBag::Remove(std::string_view key) {
    const std::string lower = Lower(key);
    std::erase_if(entries_, [&](const Entry& e) { return e.key == lower; });
}

void PropertyBag::Store(std::string_view key, std::string text, bool isDefault) {
    if (isDefault)
        Remove(key);
    else
        SetText(key, std::move(text));
}

std::optional<std::int16_t> PropertyBag::ReadInt16(std::string_view key, std::int16_t def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    if (const auto quoted = ParseString(e->text))
        return InRange<std::int16_t>(ParseInteger(*quoted));
    return InRange<std::int16_t>(ParseInteger(e->text));
}

std::optional<std::int32_t> PropertyBag::ReadInt32(std::string_view key, std::int32_t def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    if (const auto quoted = ParseString(e->text))
        return InRange<std::int32_t>(ParseInteger(*quoted));
    return InRange<std::int32_t>(ParseInteger(e->text));
}

std::optional<bool> PropertyBag::ReadBool(std::string_view key, bool def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    if (const auto quoted = ParseString(e->text))
        return ParseBool(*quoted);
    return ParseBool(Trim(e->text));
}

std::optional<std::string> PropertyBag::ReadString(std::string_view key,
                                                   const std::string& def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    if (auto quoted = ParseString(e->text))
        return quoted;
    // A number or a Boolean reads as its text, as a conversion to text would give it.
    if (const auto n = ParseInteger(e->text); n && Trim(e->text).front() != '&')
        return std::to_string(*n);
    if (const auto b = ParseBool(Trim(e->text)))
        return *b ? "True" : "False";
    return std::nullopt;
}

std::optional<Colour> PropertyBag::ReadColour(std::string_view key, Colour def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    const auto n = ParseInteger(e->text);
    if (!n || *n < std::numeric_limits<std::int32_t>::min() ||
        *n > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<Colour>(*n);
}

std::optional<Font> PropertyBag::ReadFont(std::string_view key, const Font& def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    return ParseFont(e->text);
}

std::optional<Picture> PropertyBag::ReadPicture(std::string_view key, const Picture& def) const {
    const Entry* e = Find(key);
    if (!e)
        return def;
    if (EqualsNoCase(Trim(e->text), "nothing"))
        return Picture();
    const auto args = Call(e->text, "picture");
    if (!args || args->size() != 1)
        return std::nullopt;
    const auto reference = ParseString((*args)[0]);
    if (!reference)
        return std::nullopt;
    return Picture::FromReference(*reference);
}

void PropertyBag::WriteInt16(std::string_view key, std::int16_t value, std::int16_t def) {
    Store(key, std::to_string(value), value == def);
}

void PropertyBag::WriteInt32(std::string_view key, std::int32_t value, std::int32_t def) {
    Store(key, std::to_string(value), value == def);
}

void PropertyBag::WriteBool(std::string_view key, bool value, bool def) {
    Store(key, value ? "True" : "False", value == def);
}

void PropertyBag::WriteString(std::string_view key, const std::string& value,
                              const std::string& def) {
    Store(key, FormatString(value), value == def);
}

void PropertyBag::WriteColour(std::string_view key, Colour value, Colour def) {
    Store(key, FormatColour(value), value == def);
}

void PropertyBag::WriteFont(std::string_view key, const Font& value, const Font& def) {
    Store(key, FormatFont(value), value == def);
}

void PropertyBag::WritePicture(std::string_view key, const Picture& value, const Picture& def) {
    Store(key, value ? "picture(" + FormatString(value.Reference()) + ")" : "nothing",
          value == def);
}

} // namespace cw
