#pragma once
// The text form of a saved design: small, human-readable and diff-friendly, one window a file.
//
//   # comment
//   begin Form FormAbout
//       caption = "About"
//       clientwidth = 5055
//       begin CommandButton CommandOK
//           caption = "OK"
//           left = 1920
//       end
//       begin StatusBar StatusBarMain
//           align = 2
//           begin bag
//               count = 3
//           end
//       end
//   end
//
// Keys are matched without regard to case and written in lower case; values use the value texts
// of PropertyBag. Reading checks the structure only: a value that does not convert is found (and
// skipped) when the property is read. Nothing here touches the platform, so the reader can be
// fuzzed natively.
#include "forms/DesignNode.h"

#include <optional>
#include <string>
#include <string_view>

namespace cw {

struct DesignError {
    int line = 0; // 1-based; 0 when the fault is not on one line (an empty design)
    std::string message;
};

struct DesignReadResult {
    std::optional<DesignNode> design;
    DesignError error; // when there is no design
};

// Entries may nest this deep below the form (a frame in a frame in ...).
constexpr int kMaxDesignDepth = 16;

DesignReadResult ReadDesign(std::string_view text);
// Value texts must be single-line, as PropertyBag writes them.
std::string WriteDesign(const DesignNode& design);
// The text `before` was read from, changed into the text of `after` line by line: a changed
// key's line is rewritten in place (its indent and spelling kept), added keys and entries get new
// lines, removed ones lose theirs, and every other line stays as it is (comments, blank lines,
// keys and entries that neither design touches). Entries are matched by name; new lines take
// the text's own line ends.
std::string UpdateDesignText(std::string_view text, const DesignNode& before,
                             const DesignNode& after);

// "line 12: 'end' without 'begin'"
std::string DescribeDesignError(const DesignError& error);

} // namespace cw
