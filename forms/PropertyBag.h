#pragma once
// Named, typed values through which a component saves its design-time properties and gets them
// back when its window is loaded.
//
// Keys match without regard to case and are kept in lower case. A write leaves a value out when it
// equals the default it is given, so a saved design holds only what differs from the defaults. A
// read gives the default when the key is absent and nothing when the stored value does not convert
// to the type asked for (wrong type, overflow): the caller skips that one step and goes on.
//
// Values are kept as their text in a saved design:
//   16/32-bit integers  3  -1  &H7FFF            Booleans  True  False
//   strings             "text with \" \\ \r \n \t escapes"
//   colours             &H00796150&              fonts     font("Verdana", 9.75, bold)
//   pictures            picture("res:1")  or  nothing
#include "win32/Colour.h"
#include "win32/Font.h"
#include "win32/Picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class PropertyBag {
public:
    struct Entry {
        std::string key; // lower case
        std::string text;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    std::optional<std::int16_t> ReadInt16(std::string_view key, std::int16_t def) const;
    std::optional<std::int32_t> ReadInt32(std::string_view key, std::int32_t def) const;
    std::optional<bool> ReadBool(std::string_view key, bool def) const;
    std::optional<std::string> ReadString(std::string_view key, const std::string& def) const;
    std::optional<Colour> ReadColour(std::string_view key, Colour def) const;
    std::optional<Font> ReadFont(std::string_view key, const Font& def) const;
    std::optional<Picture> ReadPicture(std::string_view key, const Picture& def) const;

    void WriteInt16(std::string_view key, std::int16_t value, std::int16_t def);
    void WriteInt32(std::string_view key, std::int32_t value, std::int32_t def);
    void WriteBool(std::string_view key, bool value, bool def);
    void WriteString(std::string_view key, const std::string& value, const std::string& def);
    void WriteColour(std::string_view key, Colour value, Colour def);
    void WriteFont(std::string_view key, const Font& value, const Font& def);
    void WritePicture(std::string_view key, const Picture& value, const Picture& def);

    // The stored text of a key, as a saved design holds it.
    std::optional<std::string> Text(std::string_view key) const;
    // Stores a value's text as it stands (the design reader uses this); a later entry of the same
    // key replaces the earlier one in place.
    void SetText(std::string_view key, std::string text);
    void Remove(std::string_view key);

    const std::vector<Entry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

    // The value texts, also used by the design format for the layout of windows.
    static std::string FormatString(const std::string& value);
    static std::optional<std::string> ParseString(std::string_view text);
    static std::optional<std::int64_t> ParseInteger(std::string_view text);
    static std::string FormatColour(Colour value);
    static std::string FormatFont(const Font& value);
    static std::optional<Font> ParseFont(std::string_view text);

    friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

private:
    const Entry* Find(std::string_view key) const;
    void Store(std::string_view key, std::string text, bool isDefault);

    std::vector<Entry> entries_; // in the order first written
};

} // namespace cw
