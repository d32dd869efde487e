#include "dialogs/help.h"

#include <string>
#include <string_view>

#include "resources/help_pages.h"

namespace tallyfold {

void ShowHelp(platform::Window& owner, platform::HelpCommand command, unsigned long context,
              const char* keyword) {
    const std::string_view page =
        command == platform::HelpCommand::Context ? HelpPageOfDialog(context) : std::string_view();
    owner.Help({command, context, keyword, std::string(page)});
}

void ShowHelpContext(platform::Window& owner, unsigned long context) {
    ShowHelp(owner, platform::HelpCommand::Context, context);
}

}  // namespace tallyfold
