#pragma once

#include "platform/window.h"

namespace tallyfold {

/// Opens the program's help at a context number (a dialog's page), owned by `owner`.
void ShowHelpContext(platform::Window& owner, unsigned long context);
/// Opens the program's help with any help command.
void ShowHelp(platform::Window& owner, platform::HelpCommand command, unsigned long context = 0,
              const char* keyword = "");

}  // namespace tallyfold
