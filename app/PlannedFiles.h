#pragma once
// Which files a run may touch. A journal is text on the user's disk: whatever it names, the
// program touches only a file that a run of its own would plan, so that a line added by hand or by
// damage can never have a document's times set. The journal reader, Undo and anything else that
// acts on a journal ask this one question. No platform call here: the reader is fuzzed natively.
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace cw {

// The files a row stands for, in the order they are stamped: its shortcut, then a ".pif" file of
// the same name.
inline constexpr const char* kRowExtensions[] = {".lnk", ".pif"};

// The titles of a run's rows (views into its order, which must outlive the set).
using TitleSet = std::unordered_set<std::string_view>;
TitleSet TitlesOf(const std::vector<std::string>& order);

// Whether `path` is a file a run over `folders` (each ending in a backslash) with rows `titles`
// plans: directly inside one of the folders, named a row's title plus an extension the program
// stamps, exactly as the program spells them.
bool IsPlannedFile(std::string_view path, std::span<const std::string> folders,
                   const TitleSet& titles);

} // namespace cw
