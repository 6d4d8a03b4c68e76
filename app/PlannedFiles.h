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

struct OrderRow;

// The extensions of the files a row stands for: its shortcut (".lnk" or ".url"), then a ".pif"
// file of the same title in the same folder.
inline constexpr const char* kShortcutExtensions[] = {".lnk", ".url"};
inline constexpr const char* kPifExtension = ".pif";

// Whether `name` really ends in ".lnk" or ".url", in any letter case.
bool IsShortcutName(std::string_view name);
// The name without its four-character extension: the title the desktop shows.
std::string_view TitleOf(std::string_view name);
// The ".pif" companion of a row's file.
std::string PifOf(std::string_view name);

// The names a run's rows plan in each folder (views into its order, which must outlive the set).
struct PlannedNames {
    std::unordered_set<std::string_view> user, allUsers, userTitles, allUsersTitles;
};
PlannedNames PlannedNamesOf(const std::vector<OrderRow>& order);

// Whether `path` is a file a run over `folders` (the user's folder, then that of all users, each
// ending in a backslash or empty) with rows `planned` plans: directly inside one of the folders,
// a row's own file or the ".pif" of its title there, exactly as the program spells them.
bool IsPlannedFile(std::string_view path, std::span<const std::string> folders,
                   const PlannedNames& planned);

} // namespace cw
