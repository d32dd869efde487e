#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tallyfold::platform {

/// The help pages every window system shows, by file name.
inline constexpr std::string_view kHelpContentsPage = "contents.html";
inline constexpr std::string_view kHelpOnHelpPage = "using-help.html";

/// One line of the help's keyword index: a keyword and the page (with its anchor) it opens.
struct HelpKeyword {
    std::string keyword;
    std::string page;
};

/// The keyword index from the text of its file, one "keyword<TAB>page" a line, in file order.
/// Blank lines, lines that begin with "#" and lines without a tab are left out; keyword and
/// page are trimmed of blanks and line ends.
std::vector<HelpKeyword> ParseHelpKeywords(std::string_view text);

}  // namespace tallyfold::platform
