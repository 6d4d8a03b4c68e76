// libFuzzer target: the journal reader on any input. Built natively by scripts/fuzz.sh.
#include "app/JournalText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const cw::JournalReadResult read = cw::ReadJournal(text);
    if (!read.run) {
        if (read.line < 0 || read.error.empty())
            std::abort();
        return 0;
    }
    // What the reader accepts, the writer gives back as a text that reads the same, and that
    // text is the writer's own.
    const auto written = cw::WriteJournal(*read.run);
    if (!written)
        std::abort();
    const cw::JournalReadResult again = cw::ReadJournal(*written);
    if (!again.run || !(*again.run == *read.run) || cw::WriteJournal(*again.run) != written)
        std::abort();
    for (const cw::JournalEntry& file : read.run->files)
        if (cw::ParseFileTime(cw::FormatFileTime(file.original.written)) != file.original.written)
            std::abort();
    return 0;
}
