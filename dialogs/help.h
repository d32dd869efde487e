#pragma once

#include "platform/window.h"

namespace tallyfold {

/// Opens the program's help file (string 11007) at a context number, owned by `owner`.
void ShowHelpContext(platform::Window& owner, unsigned long context);
/// Opens the program's help file with any help command.
void ShowHelp(platform::Window& owner, platform::HelpCommand command, unsigned long context = 0,
              const char* keyword = "");

}  // namespace tallyfold
