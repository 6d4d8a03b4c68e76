// libFuzzer target: the design reader, the property bag's value codec and the designer's edits
// through a file's own lines, on any input. Built natively by scripts/fuzz.sh.
#include "tests/fuzz/DesignCheck.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    bool accepted = false;
    if (!cwtest::CheckDesignText(text, &accepted).empty())
        std::abort();
    if (!accepted)
        return 0;
    const cw::DesignNode before = *cw::ReadDesign(text).design;
    cw::DesignNode edited = before;
    Edit(edited);
    const cw::DesignReadResult updated = cw::ReadDesign(cw::UpdateDesignText(text, before, edited));
    if (!updated.design || !(*updated.design == edited))
        std::abort();
    return 0;
}
