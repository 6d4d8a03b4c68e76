#include "app/PlannedFiles.h"

#include "app/JournalText.h"

namespace cw {
namespace {

bool EndsWithFolded(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size())
        return false;
    const std::string_view end = name.substr(name.size() - extension.size());
    for (size_t i = 0; i < end.size(); ++i) {
        const char c =
            end[i] >= 'A' && end[i] <= 'Z' ? static_cast<char>(end[i] - 'A' + 'a') : end[i];
        if (c != extension[i])
            return false;
    }
    return true;
}

} // namespace

bool IsShortcutName(std::string_view name) {
    for (const std::string_view extension : kShortcutExtensions)
        if (EndsWithFolded(name, extension))
            return true;
    return false;
}

std::string_view TitleOf(std::string_view name) {
    return name.substr(0, name.size() < 4 ? 0 : name.size() - 4);
}

std::string PifOf(std::string_view name) {
    return std::string(TitleOf(name)) + kPifExtension;
}

PlannedNames PlannedNamesOf(const std::vector<OrderRow>& order) {
    PlannedNames planned;
    for (const OrderRow& row : order) {
        (row.allUsers ? planned.allUsers : planned.user).insert(row.name);
        (row.allUsers ? planned.allUsersTitles : planned.userTitles).insert(TitleOf(row.name));
    }
    return planned;
}

bool IsPlannedFile(std::string_view path, std::span<const std::string> folders,
                   const PlannedNames& planned) {
    for (size_t f = 0; f < folders.size() && f < 2; ++f) {
        const std::string& folder = folders[f];
        if (folder.empty() || path.substr(0, folder.size()) != folder)
            continue;
        const std::string_view name = path.substr(folder.size());
        // A separator, a drive or a stream in the name would lead out of the folder or the file.
        if (name.find_first_of("\\/:") != std::string_view::npos)
            return false;
        const bool allUsers = f == 1;
        if ((allUsers ? planned.allUsers : planned.user).count(name) > 0)
            return true;
        if (name.size() >= 4 && name.substr(name.size() - 4) == kPifExtension &&
            (allUsers ? planned.allUsersTitles : planned.userTitles).count(TitleOf(name)) > 0)
            return true;
    }
    return false;
}

} // namespace cw
