#include "platform/help_pages.h"

namespace tallyfold::platform {

std::string_view HelpPageForContext(unsigned long context) {
    switch (context) {
        case 3200:
            return "doubles.html";
        case 3300:
            return "input.html";
        case 3400:
            return "target.html";
        case 3500:
            return "overview.html";
        default:
            return kHelpContentsPage;
    }
}

}  // namespace tallyfold::platform
