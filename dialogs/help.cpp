#include "dialogs/help.h"

#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

void ShowHelp(platform::Window& owner, platform::HelpCommand command, unsigned long context,
              const char* keyword) {
    char file[80];
    LoadString(ids::kStrHelpFile, file);
    owner.Help({file, command, context, keyword});
}

void ShowHelpContext(platform::Window& owner, unsigned long context) {
    ShowHelp(owner, platform::HelpCommand::Context, context);
}

}  // namespace tallyfold
