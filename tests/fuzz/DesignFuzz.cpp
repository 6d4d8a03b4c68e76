// libFuzzer target: the design reader and the property bag's value codec on any input.
// Built natively by scripts/fuzz.sh.
#include "forms/DesignText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void ReadEveryValue(const cw::PropertyBag& bag) {
    for (const auto& e : bag.Entries()) {
        (void)bag.ReadInt16(e.key, 0);
        (void)bag.ReadInt32(e.key, 0);
        (void)bag.ReadBool(e.key, false);
        (void)bag.ReadString(e.key, "");
        (void)bag.ReadColour(e.key, 0);
        (void)bag.ReadFont(e.key, cw::Font{});
        (void)bag.ReadPicture(e.key, cw::Picture());
        // What a read accepts, a write gives back as text that reads the same.
        if (const auto text = bag.ReadString(e.key, "")) {
            cw::PropertyBag copy;
            copy.WriteString(e.key, *text, "\x01");
            if (copy.ReadString(e.key, "") != text)
                std::abort();
        }
        if (const auto font = bag.ReadFont(e.key, cw::Font{})) {
            cw::PropertyBag copy;
            copy.WriteFont(e.key, *font, cw::Font{"\x01"});
            const auto back = copy.ReadFont(e.key, cw::Font{});
            if (!back || back->name != font->name || back->bold != font->bold)
                std::abort();
        }
    }
}

// Drops each bag's first key and the last entry below each node, changes every other value and
// adds a key: the edits a designer's save makes through the file's own lines.
void Edit(cw::DesignNode& node) {
    for (cw::PropertyBag* bag : {&node.properties, &node.bag}) {
        const bool add = (bag == &node.properties || node.hasBag) && !bag->Text("fuzzadded");
        if (!bag->Empty())
            bag->Remove(bag->Entries().front().key);
        for (const auto& e : std::vector(bag->Entries()))
            bag->SetText(e.key, "7");
        if (add)
            bag->SetText("fuzzadded", "1");
    }
    if (!node.children.empty())
        node.children.pop_back();
    for (auto& child : node.children)
        Edit(child);
}

void Walk(const cw::DesignNode& node) {
    ReadEveryValue(node.properties);
    ReadEveryValue(node.bag);
    for (const auto& child : node.children)
        Walk(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const cw::DesignReadResult read = cw::ReadDesign(text);
    if (!read.design) {
        if (read.error.line < 0 || read.error.message.empty())
            std::abort();
        return 0;
    }
    const cw::DesignReadResult again = cw::ReadDesign(cw::WriteDesign(*read.design));
    if (!again.design || !(*again.design == *read.design))
        std::abort();
    cw::DesignNode edited = *read.design;
    Edit(edited);
    const cw::DesignReadResult updated =
        cw::ReadDesign(cw::UpdateDesignText(text, *read.design, edited));
    if (!updated.design || !(*updated.design == edited))
        std::abort();
    Walk(*read.design);
    return 0;
}
