#include "platform/help_index.h"

namespace tallyfold::platform {

namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::vector<HelpKeyword> ParseHelpKeywords(std::string_view text) {
    std::vector<HelpKeyword> keywords;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t tab = line.find('\t');
        if (line.empty() || line.front() == '#' || tab == std::string_view::npos) {
            continue;
        }
        const std::string_view keyword = Trimmed(line.substr(0, tab));
        const std::string_view page = Trimmed(line.substr(tab + 1));
        if (!keyword.empty() && !page.empty()) {
            keywords.push_back({std::string(keyword), std::string(page)});
        }
    }
    return keywords;
}

}  // namespace tallyfold::platform
