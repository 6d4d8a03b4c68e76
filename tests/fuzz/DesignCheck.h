#pragma once
// What the design reader must do with any text, checked alike by the fuzzer (DesignFuzz.cpp) and
// the randomised test of test_forms: a refusal names a line of the text; a design it accepts
// writes back to a text that reads back the same; every value reads without harm, and what a
// string or font read accepts, a write gives back as text that reads the same.
#include "forms/DesignText.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace cwtest {

// What went wrong with the node's values, or "".
inline std::string CheckValues(const cw::DesignNode& node) {
    for (const cw::PropertyBag* bag : {&node.properties, &node.bag})
        for (const auto& e : bag->Entries()) {
            (void)bag->ReadInt16(e.key, 0);
            (void)bag->ReadInt32(e.key, 0);
            (void)bag->ReadBool(e.key, false);
            (void)bag->ReadColour(e.key, 0);
            (void)bag->ReadPicture(e.key, cw::Picture());
            cw::PropertyBag copy;
            const auto text = bag->ReadString(e.key, "");
            if (text)
                copy.WriteString("s", *text, "\x01");
            if (text && copy.ReadString("s", "") != text)
                return "the string " + e.text + " writes back differently";
            if (const auto font = bag->ReadFont(e.key, cw::Font{})) {
                copy.WriteFont("f", *font, cw::Font{"\x01"});
                const auto back = copy.ReadFont("f", cw::Font{});
                if (!back || back->name != font->name || back->bold != font->bold)
                    return "the font " + e.text + " writes back differently";
            }
        }
    for (const auto& child : node.children)
        if (std::string fault = CheckValues(child); !fault.empty())
            return fault;
    return {};
}

// What went wrong with the text, or ""; `accepted` tells whether it read as a design.
inline std::string CheckDesignText(std::string_view text, bool* accepted = nullptr) {
    const cw::DesignReadResult read = cw::ReadDesign(text);
    if (accepted)
        *accepted = read.design.has_value();
    if (!read.design) {
        const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
        if (read.error.line < 0 || read.error.line > lines || read.error.message.empty())
            return "refused without naming a line: " + cw::DescribeDesignError(read.error);
        return {};
    }
    const cw::DesignReadResult again = cw::ReadDesign(cw::WriteDesign(*read.design));
    if (!again.design || !(*again.design == *read.design))
        return "written back, it reads as another design";
    return CheckValues(*read.design);
}

} // namespace cwtest
