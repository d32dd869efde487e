#pragma once

#include <string_view>

namespace tallyfold::platform {

/// The help pages every window system shows, by file name.
inline constexpr std::string_view kHelpContentsPage = "contents.html";
inline constexpr std::string_view kHelpOnHelpPage = "using-help.html";

/// The page for a help context (a dialog's id); the contents for any other.
std::string_view HelpPageForContext(unsigned long context);

}  // namespace tallyfold::platform
