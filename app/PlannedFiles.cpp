#include "app/PlannedFiles.h"

namespace cw {

TitleSet TitlesOf(const std::vector<std::string>& order) {
    return TitleSet(order.begin(), order.end());
}

bool IsPlannedFile(std::string_view path, std::span<const std::string> folders,
                   const TitleSet& titles) {
    for (const std::string& folder : folders) {
        if (folder.empty() || path.substr(0, folder.size()) != folder)
            continue;
        const std::string_view name = path.substr(folder.size());
        // A separator, a drive or a stream in the name would lead out of the folder or the file.
        if (name.find_first_of("\\/:") != std::string_view::npos)
            return false;
        for (const std::string_view extension : kRowExtensions)
            if (name.size() >= extension.size() &&
                name.substr(name.size() - extension.size()) == extension &&
                titles.count(name.substr(0, name.size() - extension.size())) > 0)
                return true;
    }
    return false;
}

} // namespace cw
