#include "platform/modal.h"

namespace tallyfold::platform {

std::vector<FileFilter> ParseFileFilter(std::string_view filter) {
    std::vector<std::string> parts;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        parts.emplace_back(filter.substr(0, bar));
        filter = bar == std::string_view::npos ? std::string_view() : filter.substr(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

bool HasWildcard(const FilePath& name) {
    return name.Bytes().find_first_of("*?") != std::string::npos;
}

}  // namespace tallyfold::platform
